#!/usr/bin/env bash
# The cost per page of a page written beside its name and renamed into place
# (as every page is now) against one rewritten in place (as pages were),
# on the file system of the temporary folder: the median of ROUNDS (at
# least 7) alternating rounds of 2,000 pages.
# Usage: bench/replace.sh BENCH_BUILD_DIR
set -euo pipefail
build=${1:?bench build folder}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "file system: $(stat -f -c %T "$work")"
"$build/bench/replace_bench" "$work/pages" "${PAGES:-2000}" "${ROUNDS:-7}"
