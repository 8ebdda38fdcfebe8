#!/usr/bin/env bash
# A whole scan against `find -type f -printf '%s\n'` on the same synthetic
# tree (5,000 folders, 100,000 small pictures): the median of ROUNDS (at
# least 7) alternating pairs, and the system calls of one scan (strace -c).
# OMBRAL_SCAN_BEFORE=/path/to/ombral-scan adds the calls of another build.
# Usage: bench/scan.sh BENCH_BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib/pairs.sh"
rounds=${ROUNDS:-7}
(( rounds >= 7 )) || { echo "ROUNDS must be at least 7" >&2; exit 2; }
build=${1:?bench build folder}
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.out" "$tree.strace"' EXIT

python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
payload = b"x" * 100
for a in range(50):
    top = os.path.join(root, f"Album{a:02d}")
    for b in range(100):
        folder = top if b == 0 else os.path.join(top, f"Day{b:02d}")
        os.makedirs(folder, exist_ok=True)
        for c in range(20):
            with open(os.path.join(folder, f"IMG_{c:04d}.jpg"), "wb") as f:
                f.write(payload)
PY

folders=$(find "$tree" -type d | wc -l)
files=$(find "$tree" -type f | wc -l)
scanner="$build/bin/ombral-scan"
"$scanner" --quiet "$tree" > "$tree.out"  # the pages exist from here on, as in every later scan
finds="" scans=""
for ((round = 0; round < rounds; ++round)); do
  # Alternate which one goes first.
  if (( round % 2 )); then
    scans+=" $(time_once "$tree.out" "$scanner" --quiet "$tree")"
    finds+=" $(time_once "$tree.out" find "$tree" -type f -printf '%s\n')"
  else
    finds+=" $(time_once "$tree.out" find "$tree" -type f -printf '%s\n')"
    scans+=" $(time_once "$tree.out" "$scanner" --quiet "$tree")"
  fi
done
echo "tree: $folders folders, $files files"
echo "find -type f -printf:$finds"
echo "ombral-scan:         $scans"
echo "median of $rounds pairs: find $(median $finds)s  ombral-scan $(median $scans)s"
echo "ratio ombral-scan/find (median of the pairs' ratios): $(median $(pair_ratios "$scans" "$finds"))"

# System calls of one scan: strace's table, its total and the busiest kinds.
calls() {
  strace -f -c -o "$tree.strace" "$1" --quiet "$tree" > /dev/null 2>&1 || true
  echo "$2: $(awk '$NF == "total" { print $4 }' "$tree.strace") system calls; the most frequent:"
  awk 'NR > 2 && $1 !~ /^-/ && $NF != "total" { printf "    %-16s %s\n", $NF, $4 }' "$tree.strace" | sort -k2 -nr | awk 'NR <= 8'
}
if command -v strace > /dev/null; then
  if [ -n "${OMBRAL_SCAN_BEFORE:-}" ]; then calls "$OMBRAL_SCAN_BEFORE" "before"; fi
  calls "$scanner" "ombral-scan"
fi
