#!/usr/bin/env bash
# The scan against `find -type f -printf '%s\n'` on a tree of 1,000,000
# files (100 bytes each) in 10,000 folders, made once in the build folder
# (BENCH_BUILD_DIR/scan-tree-1m) and kept for later runs. Each case is the
# median of ROUNDS (at least 7) alternating pairs, as ratios within a pair:
#   first scan    warm; the pages and records of the last run removed
#                 before each round (not timed)
#   re-scan       warm; every page of the last run is replaced
#   cold re-scan  as root: before each timed run of either program the
#                 dirty pages are written and the page cache, dentries and
#                 inodes dropped (what a nightly scan of a NAS meets)
# Then the peak resident memory of one warm re-scan. Run by bench/scan.sh.
# Usage: bench/scan-million.sh BENCH_BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib/pairs.sh"
rounds=${ROUNDS:-7}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
build=$(realpath "${1:?bench build folder}")
tree="$build/scan-tree-1m"
scanner="$build/bin/ombral-scan"
out=$(mktemp)
trap 'rm -f "$out"' EXIT

if [ ! -e "$tree.made" ]; then
  rm -rf "$tree"
  python3 "$(dirname "$0")/lib/album-tree.py" "$tree" 100 100 100
  touch "$tree.made"
fi

unscanned() { find "$tree" \( -name _FileIndex.html -o -name '_x*' -o -name _FileIndexFrame.html -o -name '.#ombral.*' \) -delete; }
cold() { if [ -n "$cold" ]; then sync; echo 3 > /proc/sys/vm/drop_caches; fi; }
find_once() { cold; time_once "$out" find "$tree" -type f -printf '%s\n'; }
scan_once() { cold; time_once "$out" "$scanner" --quiet "$tree"; }

# pairs LABEL PREPARE: ROUNDS alternating pairs, PREPARE run (not timed)
# before each.
pairs() {
  local label=$1 prepare=$2 finds="" scans="" round
  for ((round = 0; round < rounds; ++round)); do
    $prepare
    if (( round % 2 )); then
      scans+=" $(scan_once)"
      finds+=" $(find_once)"
    else
      finds+=" $(find_once)"
      scans+=" $(scan_once)"
    fi
  done
  local ratios
  ratios=$(pair_ratios "$scans" "$finds")
  echo "$label find $(median $finds)s  ombral-scan $(median $scans)s  ratio $(median $ratios)" \
    "(pairs $(sort -g <<< "$ratios" | head -1)-$(sort -g <<< "$ratios" | tail -1))"
}

echo "tree: $(find "$tree" -type d | wc -l) folders, $(find "$tree" -type f -name '*.jpg' | wc -l) files"
cold=""
settle() { sync; }
fresh() { unscanned; sync; }
pairs "first scan (warm):  " "fresh"
pairs "re-scan (warm):     " "settle"
if [ "$(id -u)" = 0 ]; then
  cold=1
  pairs "re-scan (cold):     " ":"
  cold=""
else
  echo "re-scan (cold): skipped, dropping the caches needs root"
fi
peak=$( { /usr/bin/time -f '%M' "$scanner" --quiet "$tree" > "$out"; } 2>&1 | tail -1)
echo "peak memory of a re-scan: $(awk -v k="$peak" 'BEGIN { printf "%.1f", k / 1024 }') MiB"
