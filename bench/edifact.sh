#!/usr/bin/env bash
# Searches a generated 100 MB interchange for its last segment (UNZ) and
# compares the time with `grep -c "'"` over the same file, both read from the
# page cache, each the best of five runs. Once with CR LF after every
# segment, once without line ends.
# Usage: bench/edifact.sh <absolute benchmark build folder>
set -euo pipefail
source "$(dirname "$0")/lib/timing.sh"
bench="$1/bench/zncore_edifact_bench"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

for layout in crlf none; do
  file="$work/$layout.edi"
  "$bench" generate "$file" 100 "$layout"
  cat "$file" > /dev/null
  "$bench" search "$file" UNZ
  grep_lines=$(LC_ALL=C grep -c "'" "$file" || true)
  ours=$(best_of 5 "$work/out" "$bench" search "$file" UNZ)
  theirs=$(best_of 5 "$work/out" env LC_ALL=C grep -c "'" "$file")
  ratio=$(ratio "$ours" "$theirs")
  echo "$layout: GetFirstEdifactSegment(UNZ) ${ours} s, grep -c \"'\" ${theirs} s ($grep_lines lines), ratio ${ratio}"
  rm -f "$file"
done
