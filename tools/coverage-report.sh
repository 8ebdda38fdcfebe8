#!/usr/bin/env bash
# Prints the line, function and branch coverage of the suite's libraries and
# programs from a coverage build whose tests have run, and writes the HTML
# report:   tools/coverage-report.sh <coverage build dir>
# Tests, fuzz targets, benchmarks and the test support libraries are not
# counted; branches that only C++ exceptions take are left out, as are those
# the compiler marks unreachable.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 <coverage build dir>" >&2; exit 2; }
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
mkdir -p "$build/html"
cd "$root"
gcovr --root "$root" --object-directory "$build" \
  --filter 'platform/' --filter 'zncore/' --filter 'znwidgets/' --filter 'ombral/' \
  --exclude '.*/tests/.*' --exclude '.*/fuzz/.*' --exclude '.*/bench/.*' \
  --exclude 'platform/testing/.*' --exclude 'platform/ui/testing/.*' \
  --exclude '.*/screenshot/.*' --exclude 'ombral/app/icons/.*' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --html-details "$build/html/index.html" --html-title "Ombral suite coverage" \
  --print-summary
echo "HTML report: $build/html/index.html"
