#!/usr/bin/env bash
# A whole scan against `find -type f -printf '%s\n'` on the same synthetic
# tree (5,000 folders, 100,000 small pictures), in the same run.
# Usage: bench/scan.sh BENCH_BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/lib/timing.sh"
build=${1:?bench build folder}
tree=$(mktemp -d)
trap 'rm -rf "$tree" "$tree.out"' EXIT

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
t_find=$(best_of 3 "$tree.out" find "$tree" -type f -printf '%s\n')
t_scan=$(best_of 3 "$tree.out" "$build/bin/ombral-scan" --quiet "$tree")
echo "tree: $folders folders, $files files"
echo "find -type f -printf: ${t_find}s  ombral-scan: ${t_scan}s"
echo "ratio ombral-scan/find: $(ratio "$t_scan" "$t_find")"
