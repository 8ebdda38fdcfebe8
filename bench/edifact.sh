#!/usr/bin/env bash
# Searches a generated 100 MB interchange for its last segment (UNZ) and
# compares the time with `grep -c "'"` over the same file, both read from the
# page cache, each the best of five runs. Once with CR LF after every
# segment, once without line ends.
# Usage: bench/edifact.sh <absolute benchmark build folder>
set -euo pipefail
bench="$1/bench/zncore_edifact_bench"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Best wall time of five runs of a command, in seconds. The output goes to a
# file, not /dev/null: GNU grep stops at the first match when it sees its
# output is /dev/null.
best_of_five() {
  local best="" start end took
  for _ in 1 2 3 4 5; do
    start=$EPOCHREALTIME
    "$@" > "$work/out"
    end=$EPOCHREALTIME
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    if [[ -z "$best" ]] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
  done
  echo "$best"
}

for layout in crlf none; do
  file="$work/$layout.edi"
  "$bench" generate "$file" 100 "$layout"
  cat "$file" > /dev/null
  "$bench" search "$file" UNZ
  grep_lines=$(LC_ALL=C grep -c "'" "$file" || true)
  ours=$(best_of_five "$bench" search "$file" UNZ)
  theirs=$(best_of_five env LC_ALL=C grep -c "'" "$file")
  ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { printf "%.2f", a / b }')
  echo "$layout: GetFirstEdifactSegment(UNZ) ${ours} s, grep -c \"'\" ${theirs} s ($grep_lines lines), ratio ${ratio}"
  rm -f "$file"
done
