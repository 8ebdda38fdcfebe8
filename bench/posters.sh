#!/usr/bin/env bash
# Posters of phone videos against previews of phone photos: a gallery scan
# of COUNT videos (1920 x 1080 H.264 at 30 frames a second, 10 s, 12 Mbit/s,
# a key frame every second and the index at the end, as phones record them;
# made with the ffmpeg program) and a gallery scan of COUNT photos of 12
# megapixels (4000 x 3000 JPEGs), each from scratch, in alternating rounds
# (the median of ROUNDS, at least 7). Prints the wall time per video and per
# photo and their ratio in each round's pair.
# Usage: bench/posters.sh BENCH_BUILD_DIR
set -euo pipefail
here=$(dirname "$0")
source "$here/lib/pairs.sh"
build=${1:?bench build folder}
rounds=${ROUNDS:-7}
count=${COUNT:-20}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
scan="$build/bin/ombral-scan"
bench="$build/bench/preview_bench"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
videos="$work/videos"
photos="$work/photos"

mkdir -p "$videos"
ffmpeg -v error -f lavfi -i "testsrc2=s=1920x1080:r=30:d=10,noise=alls=12:allf=t" -c:v libx264 -preset veryfast \
  -b:v 12M -maxrate 12M -bufsize 24M -g 30 -pix_fmt yuv420p "$work/phone.mp4"
# Copies, not links: each is its own file to the scan, and read and decoded.
for i in $(seq -w 1 "$count"); do cp "$work/phone.mp4" "$videos/VID_$i.mp4"; done
"$bench" generate "$photos" "$count" 4000 3000
echo "videos: $count of 1920 x 1080, 10 s, $(( $(stat -c %s "$work/phone.mp4") / 1000000 )) MB each; photos: $count of 4000 x 3000"
echo "cores: $(nproc)"

fresh() { rm -rf "$1/_xthumbs" "$1"/*.html "$1"/_x*; }
made() { ls "$1/_xthumbs" | grep -v '\.2x\.jpg$' | grep -c '\.jpg$' || true; }
video_times=() photo_times=()
for round in $(seq 1 "$rounds"); do
  order=(videos photos)
  (( round % 2 )) || order=(photos videos)
  for which in "${order[@]}"; do
    folder="$work/$which"
    fresh "$folder"
    t=$(time_once "$work/log" "$scan" --quiet --gallery "$folder")
    [ "$(made "$folder")" -eq "$count" ] || { echo "$which: $(made "$folder") of $count made" >&2; cat "$work/log" >&2; exit 1; }
    if [ "$which" = videos ]; then video_times+=("$t"); else photo_times+=("$t"); fi
  done
done
v=$(median "${video_times[@]}")
p=$(median "${photo_times[@]}")
ratio=$(median $(pair_ratios "${video_times[*]}" "${photo_times[*]}"))
awk -v v="$v" -v p="$p" -v n="$count" -v r="$ratio" 'BEGIN {
  printf "gallery scan of %d videos: %.3f s, %.1f ms per video (median of the rounds)\n", n, v, 1000 * v / n
  printf "gallery scan of %d photos: %.3f s, %.1f ms per photo\n", n, p, 1000 * p / n
  printf "video / photo (median of the pairs): %.2f\n", r
}'
