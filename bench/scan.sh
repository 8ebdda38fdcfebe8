#!/usr/bin/env bash
# A whole scan against `find -type f -printf '%s\n'` on the same synthetic
# tree (5,000 folders, 100,000 small pictures), the median of ROUNDS (at
# least 7) alternating pairs each:
#   first scan   the pages, records and temporary files of earlier scans
#                removed before each round (not timed): every page is new
#   re-scan      the pages exist: every page is replaced
# The re-scan is set beside 1.3 times find plus what replacing its pages
# costs by itself (replace_bench on the same file system, times the pages
# the scan replaces). Then the system calls of one scan (strace -c).
# OMBRAL_SCAN_BEFORE=/path/to/ombral-scan adds the calls of another build.
# Then the same on a tree of 1,000,000 files in 10,000 folders, made once
# in the build folder (scan-tree-1m) and kept for later runs: warm first
# scan, warm re-scan, and the re-scan with a cold cache (as root: the page
# cache, dentries and inodes dropped before each timed run of either), each
# against find in alternating pairs; and the scan's peak memory.
# SCAN_TREES=small or SCAN_TREES=million runs one tree only.
# Usage: bench/scan.sh BENCH_BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib/pairs.sh"
rounds=${ROUNDS:-7}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
build=${1:?bench build folder}
trees=${SCAN_TREES:-small million}
if [[ " $trees " == *" million "* ]]; then
  "$(dirname "$0")/scan-million.sh" "$build"
fi
[[ " $trees " == *" small "* ]] || exit 0
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.out" "$tree.strace" "$tree.pages"' EXIT

python3 "$(dirname "$0")/lib/album-tree.py" "$tree" 50 100 20

folders=$(find "$tree" -type d | wc -l)
files=$(find "$tree" -type f | wc -l)
scanner="$build/bin/ombral-scan"
unscanned() { find "$tree" \( -name _FileIndex.html -o -name '_x*' -o -name _FileIndexFrame.html -o -name '.#ombral.*' \) -delete; }
find_once() { time_once "$tree.out" find "$tree" -type f -printf '%s\n'; }
scan_once() { time_once "$tree.out" "$scanner" --quiet "$tree"; }

# First scans: each round starts from a tree without pages.
finds="" scans=""
for ((round = 0; round < rounds; ++round)); do
  unscanned
  sync
  if (( round % 2 )); then
    scans+=" $(scan_once)"
    finds+=" $(find_once)"
  else
    finds+=" $(find_once)"
    scans+=" $(scan_once)"
  fi
done
echo "tree: $folders folders, $files files"
echo "first scan: find $(median $finds)s  ombral-scan $(median $scans)s  ratio $(median $(pair_ratios "$scans" "$finds"))"

# Re-scans: the pages of the last round exist.
refinds="" rescans=""
for ((round = 0; round < rounds; ++round)); do
  if (( round % 2 )); then
    rescans+=" $(scan_once)"
    refinds+=" $(find_once)"
  else
    refinds+=" $(find_once)"
    rescans+=" $(scan_once)"
  fi
done
pages=$(find "$tree" -name _FileIndex.html | wc -l)
replace=$("$build/bench/replace_bench" "$tree.pages" 2000 7 | awk '/^replacement cost:/ { print $3 }')
find_median=$(median $refinds)
bound=$(awk -v f="$find_median" -v c="$replace" -v p="$pages" 'BEGIN { printf "%.4f", 1.3 * f + c * p / 1000 }')
echo "re-scan:    find ${find_median}s  ombral-scan $(median $rescans)s  ratio $(median $(pair_ratios "$rescans" "$refinds"))"
echo "re-scan bound: 1.3 x find + $pages pages x ${replace} ms replacement cost = ${bound}s"

# System calls of one re-scan: strace's table, its total and the busiest kinds.
calls() {
  strace -f -c -o "$tree.strace" "$1" --quiet "$tree" > /dev/null 2>&1 || true
  echo "$2: $(awk '$NF == "total" { print $4 }' "$tree.strace") system calls; the most frequent:"
  awk 'NR > 2 && $1 !~ /^-/ && $NF != "total" { printf "    %-16s %s\n", $NF, $4 }' "$tree.strace" | sort -k2 -nr | awk 'NR <= 8'
}
if command -v strace > /dev/null; then
  if [ -n "${OMBRAL_SCAN_BEFORE:-}" ]; then calls "$OMBRAL_SCAN_BEFORE" "before"; fi
  calls "$scanner" "ombral-scan"
fi
