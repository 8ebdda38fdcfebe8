#!/usr/bin/env bash
# The gallery's search on an archive of 1,000,000 names in 10,000 folders
# (search-archive: names as cameras, phones and people give them, in many
# languages, a third of the accented ones decomposed), in headless Chromium
# from file://, ROUNDS (at least 7) alternating pairs per query: the time
# from the first key to the first result and the bytes of the index loaded,
# against the cold page's own load (bench/search.mjs tells the rest).
# The archive's index is made by the scan's own code from a made-up model,
# without a million files on disk or their previews.
# Usage: bench/search.sh BENCH_BUILD_DIR   (COUNT=names, 1,000,000 unless set)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?bench build folder}
rounds=${ROUNDS:-7}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
work="$build/search-bench"
mkdir -p "$work"
# playwright-core drives the installed Chromium (it never downloads one).
browser_tests="$here/../ombral/cli/tests/browser"
if [ ! -d "$work/node_modules/playwright-core" ] || ! cmp -s "$browser_tests/package-lock.json" "$work/package-lock.json"; then
  cp "$browser_tests/package.json" "$browser_tests/package-lock.json" "$work/"
  (cd "$work" && npm ci --omit=dev --no-audit --no-fund --loglevel=error)
fi
rm -rf "$work/archive" && mkdir -p "$work/archive"
"$build/bin/search-archive" "$work/archive" "${COUNT:-1000000}"
echo "index: $(find "$work/archive/_xsearch" -type f | wc -l) pieces, $(du -sb "$work/archive/_xsearch" | cut -f1) bytes;" \
     "manifest $(stat -c %s "$work/archive/_xsearch.js") bytes; largest pieces:"
find "$work/archive/_xsearch" -type f -printf '%s %f\n' | sort -n | awk '{ s[NR] = $1; n[NR] = $2 } END {
  printf "  median %d bytes, 90th percentile %d, largest %d (%s)\n", s[int(NR / 2) + 1], s[int(NR * 0.9)], s[NR], n[NR] }'
for kind in g l n; do
  find "$work/archive/_xsearch" -type f -name "$kind*.js" -printf '%s\n' | awk -v k="$kind" '{ t += $1; c++ } END {
    printf "  %s pieces: %d, %d bytes, %.0f on average\n", k, c, t, c ? t / c : 0 }'
done
cp "$here/search.mjs" "$work/"
CHROMIUM=$(command -v chromium) node "$work/search.mjs" "$work/archive" "$rounds"
