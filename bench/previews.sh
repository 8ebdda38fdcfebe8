#!/usr/bin/env bash
# Previews of 200 photos of 12 megapixels (4000 x 3000 JPEGs), longer edge
# 240, by four contenders in alternating rounds (the median of ROUNDS, at
# least 7):
#   ombral-scan --thumbnails   the whole scan, previews on all cores
#   ombral-scan --gallery      the same with the gallery: each photo's digest,
#                              date and camera, a large preview for 2x screens
#                              and a rendition for the viewer (2048 pixels), its
#                              pages, script and search index
#   ImageMagick                convert -thumbnail 240x240, one process per photo, as scripts do it
#   vipsthumbnail              libvips' own command-line thumbnailer, one process for all
#   Qt                         QImageReader's scaled decoding on the same worker threads
# plus the library call alone on those threads, to set beside Qt.
# Usage: bench/previews.sh BENCH_BUILD_DIR
# CONTENDERS="ours gallery" (names as below) runs only those.
set -euo pipefail
here=$(dirname "$0")
source "$here/lib/pairs.sh"
build=${1:?bench build folder}
rounds=${ROUNDS:-7}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
scan="$build/bin/ombral-scan"
bench="$build/bench/preview_bench"
# The distribution's ImageMagick itself, not a wrapper earlier on the path.
convert=$(command -v /usr/bin/convert-im6.q16 /usr/bin/convert | head -n1)
vipsthumbnail=$(command -v vipsthumbnail)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
photos="$work/photos"

"$bench" generate "$photos" 200 4000 3000
echo "photos: $(ls "$photos" | wc -l) JPEGs of 4000 x 3000, $(du -sm "$photos" | cut -f1) MB"
echo "cores: $(nproc)"

im_loop() {  # photos folder, output folder
  local photo
  for photo in "$1"/*.jpg; do "$convert" "$photo" -thumbnail 240x240 "$2/$(basename "$photo")"; done
}

read -r -a contenders <<< "${CONTENDERS:-ours gallery magick vips qt lib}"
declare -A times
fresh() { rm -rf "$photos/_xthumbs" "$photos"/*.html "$photos"/_x* "$work/out"; mkdir -p "$work/out"; }
run_one() {
  fresh
  case $1 in
    ours) time_once "$work/log" "$scan" --quiet --thumbnails "$photos" ;;
    gallery) time_once "$work/log" "$scan" --quiet --gallery "$photos" ;;
    magick) time_once "$work/log" im_loop "$photos" "$work/out" ;;
    vips) time_once "$work/log" "$vipsthumbnail" -s 240 -o "$work/out/%s.jpg[strip]" "$photos"/*.jpg ;;
    qt) time_once "$work/log" "$bench" qt "$photos" "$work/out" 240 2>> "$work/errors" ;;
    lib) time_once "$work/log" "$bench" ours "$photos" "$work/out" 240 2>> "$work/errors" ;;
  esac
}
check_made() {  # every contender made 200 previews
  local made
  # (the gallery's large previews, ".2x.jpg", are not counted)
  if [ "$1" = ours ] || [ "$1" = gallery ]; then made=$(ls "$photos/_xthumbs" | grep -v '\.2x\.jpg$' | grep -c '\.jpg$'); else made=$(ls "$work/out" | wc -l); fi
  [ "$made" -eq 200 ] || { echo "$1 made $made previews, not 200" >&2; cat "$work/errors" >&2 2>/dev/null; exit 1; }
}

for ((round = 0; round < rounds; ++round)); do
  # Rotate the order, so no contender always runs first or after the same one.
  order=("${contenders[@]:round % ${#contenders[@]}}" "${contenders[@]:0:round % ${#contenders[@]}}")
  for who in "${order[@]}"; do
    took=$(run_one "$who")
    [ "$round" -eq 0 ] && check_made "$who"
    times[$who]="${times[$who]:-} $took"
  done
  echo "round $((round + 1)):$(for who in "${contenders[@]}"; do printf ' %s %ss' "$who" "$(awk '{ print $NF }' <<< "${times[$who]}")"; done)"
done

echo
echo "median of $rounds rounds, 200 photos:"
for who in "${contenders[@]}"; do
  printf '  %-8s %8ss\n' "$who" "$(median ${times[$who]})"
done
ratio() {  # label, numerator, denominator: printed when both ran
  [ -n "${times[$2]:-}" ] && [ -n "${times[$3]:-}" ] && echo "$1 $(median $(pair_ratios "${times[$2]}" "${times[$3]}"))"
  return 0
}
ratio "ratio --gallery / --thumbnails:        " gallery ours
ratio "ratio ImageMagick loop / ombral-scan: " magick ours
ratio "ratio vipsthumbnail / ombral-scan:    " vips ours
ratio "ratio Qt reader / ombral-scan:        " qt ours
ratio "ratio Qt reader / libvips (same pool): " qt lib
