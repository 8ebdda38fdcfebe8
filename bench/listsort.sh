#!/usr/bin/env bash
# CZnListCtrl with 100,000 rows of 5 columns: inserting them, sorting by a
# text column and by a date-time column (with the progress dialog, as a
# heading click sorts), sorting by a column of few distinct words, grouping
# and ungrouping that, and a separator between every two rows. Drawn
# offscreen. The target for each sort is under one second.
# Usage: bench/listsort.sh <absolute benchmark build folder>
set -euo pipefail
bench="$1/bench/znwidgets_listsort_bench"
out=$(QT_QPA_PLATFORM=offscreen "$bench" 100000)
value() { awk -v k="$1" '$1 == k { print $2 }' <<< "$out"; }
echo "rows: $(value rows) of $(value columns) columns"
echo "insert:                 $(value insert_seconds) s"
echo "sort by text:           $(value text_sort_seconds) s"
echo "sort by date:           $(value date_sort_seconds) s"
echo "sort by 8 words:        $(value few_keys_sort_seconds) s"
echo "group (8 groups):       $(value group_seconds) s"
echo "ungroup:                $(value ungroup_seconds) s"
echo "group every row:        $(value group_every_row_seconds) s ($(value grouped_rows) rows)"
for key in text_sort_seconds date_sort_seconds; do
  if awk -v t="$(value $key)" 'BEGIN { exit !(t >= 1.0) }'; then
    echo "warning: ${key%_seconds} takes 1 second or more" >&2
  fi
done
