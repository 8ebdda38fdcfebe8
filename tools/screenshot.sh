#!/usr/bin/env bash
# Draws the dialog program's windows into PNG files, without a display:
#   tools/screenshot.sh <release build dir> <output dir>
# Writes ombral-folded.png (the dialog as it opens), ombral-unfolded.png (the
# protocol unfolded after a scan of a copy of samples/gallery with logging
# on) and ombral-about.png (the about box), then the pictures of ZnWidgets'
# windows (znwidgets-screenshot) and the widget demo (znwidgets-demo).
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 <release build dir> <output dir>" >&2; exit 2; }
build=$1
out=$2
root="$(cd "$(dirname "$0")/.." && pwd)"
program="$build/bin/ombral-screenshot"
widgets="$build/bin/znwidgets-screenshot"
demo="$build/bin/znwidgets-demo"
for tool in "$program" "$widgets" "$demo"; do
  [ -x "$tool" ] || { echo "$tool is missing: build first (make build)" >&2; exit 1; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -R "$root/samples/gallery" "$work/"
mkdir -p "$out"
# The copy appears as drive P:, so the dialog shows a short path.
ZN_DRIVES="P=$work" QT_QPA_PLATFORM=offscreen "$program" "$out" 'P:\gallery'
ZN_DRIVES="P=$work" QT_QPA_PLATFORM=offscreen "$widgets" "$out"
# The demo window with the copy as drive P:, labelled as a user would.
ZN_DRIVES="P=$work/gallery:GALERIE" QT_QPA_PLATFORM=offscreen "$demo" --screenshot "$out"
