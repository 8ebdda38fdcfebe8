#!/usr/bin/env bash
# FileList against `find -type d` on the same synthetic tree of 20,000
# folders, in the same run. Usage: bench/filelist.sh BENCH_BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib/timing.sh"
build=${1:?bench build folder}
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.out"' EXIT

# 20 x 20 x 49 = 19,600 leaf folders plus 420 inner ones: 20,020 folders
# below the root, names of mixed case so the case-free order matters.
for a in $(seq -w 1 20); do
  for b in $(seq -w 1 20); do
    mkdir -p "$tree/Set$a/day$b"
    (cd "$tree/Set$a/day$b" && mkdir $(printf 'Roll%02d ' $(seq 1 49)))
  done
done

count_find=$(find "$tree" -mindepth 1 -type d | wc -l)
best_find=$(best_of 3 "$tree.out" find "$tree" -mindepth 1 -type d)
read -r best_list count_list < <("$build/bench/filelist_bench" "$tree" 3)

echo "folders: find $count_find, FileList $count_list"
echo "find -type d: ${best_find}s  FileList (sorted, case-free): ${best_list}s"
echo "ratio FileList/find: $(ratio "$best_list" "$best_find")"
