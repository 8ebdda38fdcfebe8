#!/usr/bin/env bash
# End-to-end check in a real browser: scans a tree of awkwardly named
# pictures with ombral-scan and lets headless Chromium open the frameset
# page, follow every main-index link and load every picture; then scans the
# tree again with previews (and a photo turned by its EXIF orientation) and
# checks every preview, its size and its link to the picture.
#
# Last, a tree scanned with --gallery (gallery-test.mjs): its pages, viewer,
# search, a folder of 10,000 pictures, a search index of a million names
# (written by make-search-index), phones' screens, dark mode and axe-core;
# and the entry page of a million names in ten thousand folders
# (entry-tree-test.mjs).
#
#   run-browser-test.sh OMBRAL_SCAN WORK_DIR SAMPLE_PICTURE_DIR MAKE_TEST_PICTURE MAKE_SEARCH_INDEX
# Exit 77 (skipped) only when Chromium or Node.js is not installed.
set -euo pipefail
scanner=${1:?ombral-scan binary}
work=${2:?work folder}
pictures=${3:?folder with sample pictures}
make_picture=${4:?make-test-picture program}
make_index=${5:?make-search-index program}
here=$(cd "$(dirname "$0")" && pwd)

chromium=$(command -v chromium || true)
if [ -z "$chromium" ]; then
  echo "SKIPPED: Chromium is not installed (install the Debian package chromium, e.g. with make deps)."
  exit 77
fi
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "SKIPPED: Node.js and npm are not installed (make deps installs them)."
  exit 77
fi

mkdir -p "$work"
# playwright-core drives the installed Chromium; it never downloads a browser.
# axe-core checks the gallery's accessibility.
# The lint's packages (devDependencies) are not needed here.
if [ ! -d "$work/node_modules/playwright-core" ] || [ ! -d "$work/node_modules/axe-core" ] || ! cmp -s "$here/package-lock.json" "$work/package-lock.json"; then
  cp "$here/package.json" "$here/package-lock.json" "$work/"
  (cd "$work" && npm ci --omit=dev --no-audit --no-fund --loglevel=error)
fi

tree="$work/tree"
rm -rf "$tree"
mkdir -p "$tree/Ordner #1/A & B" "$tree/q?uery %20" "$tree/Grüße" "$tree/empty"
jpg="$pictures/2002/checkers.jpg"
png="$pictures/2001/Winter/Schneehütte.png"
gif="$pictures/logo.gif"
cp "$jpg" "$tree/x & y.jpg"
cp "$png" "$tree/a#b.png"
cp "$gif" "$tree/100%.gif"
cp "$jpg" "$tree/what?.jpg"
cp "$jpg" "$tree/say \"hi\".jpg"
cp "$png" "$tree/<b>bold.png"
cp "$jpg" "$tree/with space.jpg"
cp "$jpg" "$tree/Ordner #1/café.jpg"
cp "$png" "$tree/Ordner #1/A & B/pic.png"
cp "$gif" "$tree/q?uery %20/%41.gif"
cp "$jpg" "$tree/Grüße/$(printf 'caf\xe9').jpg"   # a name that is not UTF-8
# Names a browser could take for a script address, or lose a part of.
cp "$jpg" "$tree/javascript:alert(1).jpg"
cp "$png" "$tree/new"$'\n'"line.png"

"$scanner" --quiet "$tree"
# The script resolves playwright-core from its own folder: run it from the work folder.
cp "$here/browser-test.mjs" "$work/"
CHROMIUM="$chromium" node "$work/browser-test.mjs" "$tree"

# Previews: a photo stored 400 x 300 whose EXIF orientation 6 turns it
# upright to portrait, beside the awkward names.
"$make_picture" "$tree/Ordner #1/portrait.jpg" 400 300 6
"$scanner" --quiet --thumbnails=100 "$tree"
CHROMIUM="$chromium" node "$work/browser-test.mjs" "$tree" --thumbnails

# The gallery: awkward names (a raw '%', leading blanks), a HEIC picture, a
# photo with its date taken and camera three folders down, a large picture
# to zoom into, a panorama, a damaged picture and a video, names whose
# numbers order them, and a folder of 10,000 pictures (links to one small
# picture: each gets its own preview all the same).
gallery="$work/gallery"
rm -rf "$gallery"
mkdir -p "$gallery/A/B/C" "$gallery/2001" "$gallery/big" "$gallery/numbers" "$gallery/ space folder"
cp "$jpg" "$gallery/x & y.jpg"
cp "$png" "$gallery/a#b.png"
cp "$gif" "$gallery/100%.gif"
cp "$jpg" "$gallery/100% happy?.jpg"
cp "$jpg" "$gallery/ space.jpg"
cp "$jpg" "$gallery/ space folder/inside.jpg"
cp "$jpg" "$gallery/javascript:alert(1).jpg"
cp "$png" "$gallery/new"$'\n'"line.png"
cp "$jpg" "$gallery/2001/beach.jpg"
printf 'not a picture' > "$gallery/broken.jpg"
printf 'not a video' > "$gallery/clip.mp4"
cp "$here/../../../../platform/image/testing/videos/clip.webm" "$gallery/2001/movie.webm"
for name in "Img 1" "img 2" "img 10"; do cp "$jpg" "$gallery/numbers/$name.jpg"; done
# Names the search must find as people type them: a capital dotted I, an
# accent stored composed and one stored decomposed (as macOS writes names),
# a sharp s, a Greek final sigma, a ligature, Hangul.
mkdir -p "$gallery/Names"
for name in "İstanbul" "Café" "$(printf 'Cre\xcc\x80me bru\xcc\x82le\xcc\x81e')" "Straße" "ΟΔΥΣΣΕΥΣ" "ﬁnal" "한국"; do
  cp "$jpg" "$gallery/Names/$name.jpg"
done
"$make_picture" "$gallery/big picture.jpg" 3000 2000
"$make_picture" "$gallery/panorama.jpg" 3000 500
"$make_picture" "$gallery/phone.heic" 640 480
"$make_picture" "$gallery/2001/portrait.jpg" 400 300 6
"$make_picture" "$gallery/A/B/C/deep-needle.jpg" 400 300 exif "2001:07:14 18:22:10" "Phone Maker" "Pocket 1"
"$make_picture" "$work/seed.jpg" 64 48
node -e 'const fs = require("fs"); for (let i = 1; i <= 10000; ++i) fs.linkSync(process.argv[1], `${process.argv[2]}/IMG_${String(i).padStart(5, "0")}.jpg`);' \
  "$work/seed.jpg" "$gallery/big"
"$scanner" --quiet --gallery "$gallery"
rm -rf "$work/million" && mkdir -p "$work/million"
"$make_index" "$work/million" 1000000
cp "$here/gallery-test.mjs" "$work/"
CHROMIUM="$chromium" node "$work/gallery-test.mjs" "$gallery" "$gallery/big" "$work/million"

# The entry page of a million names in some ten thousand folders: its size,
# its elements, and its folder tree folding and loading on demand.
rm -rf "$work/million-folders" && mkdir -p "$work/million-folders"
"$make_index" "$work/million-folders" 1000000 100
cp "$here/entry-tree-test.mjs" "$work/"
CHROMIUM="$chromium" node "$work/entry-tree-test.mjs" "$work/million-folders"
