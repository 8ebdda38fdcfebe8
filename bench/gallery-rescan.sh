#!/usr/bin/env bash
# An unchanged gallery re-scan against the classic scan of the same tree:
# 1,000,000 small files named like photos (IMG_0000.JPG ...) in 10,000
# folders (20 years of 500 days; FILES and FOLDERS make it smaller), the
# median of ROUNDS (at least 7) alternating pairs:
#   classic   ombral-scan on the tree: the classic pages carry the run's
#             time, so every page is replaced every time
#   gallery   ombral-scan --gallery on the same tree, scanned with the
#             gallery once before (not timed): nothing changed, so nothing
#             is written
# The two kinds keep their pages under other names (--index/--frame); only
# the two top pages that send old bookmarks on (main index, welcome page)
# are the classic pages' in one run and the gallery's in the next. Unless
# PICTURES=1 the files are not pictures a decoder can read: the first
# gallery scan notes each as one without a preview, and the re-scans never
# decode them again (as for any unchanged picture) but name each again in
# the protocol, which goes to a file as it would from a nightly job. Last,
# what the gallery re-scan wrote: files whose modification time changed.
# COPIES=n (with PICTURES=1) makes the tree n times as large for little more
# than the first scan's cost: after it, the pictures and their previews are
# linked (hard links: the same inodes, so every record still knows them)
# into n - 1 further copies of the year folders, each with records and
# pages of its own (a record must have one link), and scanned once more.
# Usage: bench/gallery-rescan.sh BENCH_BUILD_DIR   (FILES, FOLDERS, PICTURES, COPIES)
set -euo pipefail
source "$(dirname "$0")/lib/pairs.sh"
rounds=${ROUNDS:-7}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
build=${1:?bench build folder}
files=${FILES:-1000000}
folders=${FOLDERS:-10000}
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.out" "$tree.err" "$tree.stamp" "$tree.jpg"' EXIT

# PICTURES=1: the files are real 640 x 480 JPEG pictures (each made unique
# by bytes after its end, which decoders skip), so the first scan makes a
# preview and a large preview of each and the re-scans keep them; that
# first scan takes about 2.5 ms of a core per picture.
picture=""
if [ "${PICTURES:-0}" = 1 ]; then
  picture="$tree.jpg"
  convert -size 640x480 plasma:fractal -quality 85 "$picture"
fi
python3 - "$tree" "$files" "$folders" "$picture" <<'PY'
import os, sys
root, files, folders = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
years = 20
per_year = max(1, folders // years)
per_folder = files // (years * per_year)
payload = open(sys.argv[4], "rb").read() if sys.argv[4] else b"\xff\xd8\xff\xe0" + b"x" * 96
for y in range(years):
    for d in range(per_year):
        folder = os.path.join(root, str(2000 + y), f"{2000 + y}-{d:03d} Day")
        os.makedirs(folder)
        for n in range(per_folder):
            with open(os.path.join(folder, f"IMG_{n:04d}.JPG"), "wb") as f:
                f.write(payload)
                if sys.argv[4]:
                    f.write(b"%d/%d/%d" % (y, d, n))
PY

scanner="$build/bin/ombral-scan"
classic_once() { time_once "$tree.out" "$scanner" --quiet --index _classic.html --frame _classicFrame.html "$tree"; }
gallery_once() { time_once "$tree.out" "$scanner" --quiet --gallery "$tree" 2> "$tree.err"; }
first=$(gallery_once)
copies=${COPIES:-1}
if (( copies > 1 )); then
  for ((c = 1; c < copies; ++c)); do
    mkdir "$tree/copy$c"
    cp -al "$tree"/20?? "$tree/copy$c/"
  done
  find "$tree"/copy* -type f \( -name _xthumbs.txt -o -name '*.html' \) -exec sh -c \
    'for f; do cp "$f" "$f.copy" && mv "$f.copy" "$f"; done' sh {} +
  files=$((files * copies))
  gallery_once > /dev/null
fi
echo "tree: $(find "$tree" -type d -not -name _xthumbs | wc -l) folders, $files files; first gallery scan ${first}s"

classics="" galleries=""
for ((round = 0; round < rounds; ++round)); do
  if (( round % 2 )); then
    galleries+=" $(gallery_once)"
    classics+=" $(classic_once)"
  else
    classics+=" $(classic_once)"
    galleries+=" $(gallery_once)"
  fi
done
echo "classic scan $(median $classics)s  unchanged gallery re-scan $(median $galleries)s  ratio $(median $(pair_ratios "$galleries" "$classics"))"

gallery_once > /dev/null
touch "$tree.stamp"
sleep 0.01
gallery_once > /dev/null
echo "files a gallery re-scan after a gallery scan wrote: $(find "$tree" -type f -newer "$tree.stamp" | wc -l)"
