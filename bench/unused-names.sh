#!/usr/bin/env bash
# GetUnusedFileName with 10,000 taken names (0000000.log to 0009999.log):
# the search as built (one folder listing) against one probe per number.
# Usage: bench/unused-names.sh <absolute benchmark build folder>
set -euo pipefail
out=$("$1/bench/zncore_unused_names_bench" 10000 5)
result=$(awk '$1 == "result" { print $2 }' <<< "$out")
probe=$(awk '$1 == "probe_result" { print $2 }' <<< "$out")
listed=$(awk '$1 == "listed_seconds" { print $2 }' <<< "$out")
probed=$(awk '$1 == "probed_seconds" { print $2 }' <<< "$out")
if [[ "$result" != "$probe.log" ]]; then
  echo "results differ: $result against $probe.log" >&2
  exit 1
fi
echo "10,000 taken names: GetUnusedFileName -> $result"
awk -v l="$listed" -v p="$probed" 'BEGIN {
  printf "GetUnusedFileName: %.2f ms; a probe per number: %.2f ms (%.0fx)\n", l * 1000, p * 1000, p / l }'
