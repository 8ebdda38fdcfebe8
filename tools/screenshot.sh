#!/usr/bin/env bash
# Draws the dialog program's windows into PNG files, without a display:
#   tools/screenshot.sh <release build dir> <output dir>
# Writes ombral-folded.png (the dialog as it opens), ombral-scanning.png (the
# protocol unfolded during a scan of a copy of samples/gallery with logging,
# previews and the removal of stale pages on), ombral-unfolded.png (the same
# after the scan) and ombral-about.png (the about box), then the pictures of
# ZnWidgets' windows (znwidgets-screenshot) and the widget demo
# (znwidgets-demo), and last the gallery of ombral-scan --gallery in headless
# Chromium: a copy of samples/gallery with landscapes painted for it and a
# video made of one, drawn on a desktop's and on a phone's screen
# (gallery-*.png).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <release build dir> <output dir>" >&2; exit 2; }
build=$1
out=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$build/bin/ombral-screenshot"
widgets="$build/bin/znwidgets-screenshot"
demo="$build/bin/znwidgets-demo"
scanner="$build/bin/ombral-scan"
for tool in "$program" "$widgets" "$demo" "$scanner"; do
  [ -x "$tool" ] || { echo "$tool is missing: build first (make build)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work" "$work-dialog"' EXIT
cp -R "$root/samples/gallery" "$work/"
mkdir -p "$out"
# A copy of its own appears as drive P:, so the dialog shows a short path;
# the widgets see the pages of a plain scan in theirs.
mkdir -p "$work-dialog" && cp -R "$root/samples/gallery" "$work-dialog/"
ZN_DRIVES="P=$work-dialog" QT_QPA_PLATFORM=offscreen "$program" "$out" 'P:\gallery'
"$scanner" --quiet "$work/gallery" > /dev/null
ZN_DRIVES="P=$work" QT_QPA_PLATFORM=offscreen "$widgets" "$out"
# The demo window with the copy as drive P:, labelled as a user would.
ZN_DRIVES="P=$work/gallery:GALERIE" QT_QPA_PLATFORM=offscreen "$demo" --screenshot "$out"

# The gallery, in Chromium driven by playwright-core (the browser test's
# Node packages, installed from its lock file).
"$root/tools/install-deps.sh" chromium node ffmpeg
mkdir -p "$work/node"
cp "$root/ombral/cli/tests/browser/package.json" "$root/ombral/cli/tests/browser/package-lock.json" \
   "$root/tools/gallery-pictures.mjs" "$root/tools/gallery-screenshots.mjs" "$work/node/"
(cd "$work/node" && npm ci --no-audit --no-fund --loglevel=error)
shots="$work/Pictures"
cp -R "$root/samples/gallery" "$shots"
node "$work/node/gallery-pictures.mjs" "$shots/Holidays" 14 IMG_ 7
node "$work/node/gallery-pictures.mjs" "$shots/Holidays/Mountains" 6 DSC_ 11
node "$work/node/gallery-pictures.mjs" "$shots/Family" 8 "Family " 23
# A phone's video among the holiday pictures: one of them, slowly zoomed in.
ffmpeg -v error -loop 1 -framerate 30 -i "$shots/Holidays/IMG_003.jpg" -t 6 -c:v libx264 -pix_fmt yuv420p \
  -vf "scale=1280:720:force_original_aspect_ratio=increase,crop=1280:720,zoompan=z='1+0.001*on':d=1:s=1280x720:fps=30" \
  "$shots/Holidays/IMG_015.MOV"
"$scanner" --quiet --gallery "$shots"
node "$work/node/gallery-screenshots.mjs" "$shots" "$out"
