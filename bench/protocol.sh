#!/usr/bin/env bash
# The dialog's protocol: 20,000 lines into its list box in one batch, in
# batches of 1,000 and of 100 (as a scan's lines arrive from its thread, the
# window repainted after each batch) against the same lines one by one (as
# they came when the scan ran on the dialog's thread); then whole scans of
# 20,000 pictures from "Scan..." to the status, without and with logging.
# Drawn offscreen. The target for one batch and batches of 1,000 is under
# 0.2 s. With STOP_TREE=1 also the time from "Stop" to "SCAN CANCELED!" in
# a scan of 1,000,000 files (10,000 folders of 100), made in a temporary
# folder and removed afterwards (some minutes, and a million inodes).
# Usage: [STOP_TREE=1] bench/protocol.sh <absolute benchmark build folder>
set -euo pipefail
bench="$1/bench/ombral_protocol_bench"
out=$(QT_QPA_PLATFORM=offscreen "$bench" 20000)
value() { awk -v k="$1" '$1 == k { print $2 }' <<< "$out"; }
echo "lines:                       $(value lines)"
echo "in one batch:                $(value one_batch_seconds) s"
echo "in batches of 1,000:         $(value batches_of_1000_seconds) s"
echo "in batches of 100:           $(value batches_of_100_seconds) s"
echo "one by one (before):         $(value one_by_one_seconds) s"
echo "scan of $(value scan_files) pictures"
echo "  without logging:           $(value scan_without_logging_seconds) s"
echo "  with logging:              $(value scan_with_logging_seconds) s"
for key in one_batch_seconds batches_of_1000_seconds; do
  if awk -v t="$(value $key)" 'BEGIN { exit !(t >= 0.2) }'; then
    echo "warning: ${key%_seconds} takes 0.2 seconds or more" >&2
  fi
done
if [[ "${STOP_TREE:-0}" == 1 ]]; then
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' EXIT
  python3 - "$tree" <<'PY'
import os, sys
root = sys.argv[1]
for a in range(100):
    for b in range(100):
        folder = os.path.join(root, f"A{a:02d}", f"D{b:02d}")
        os.makedirs(folder)
        for c in range(100):
            open(os.path.join(folder, f"IMG_{c:04d}.jpg"), "wb").close()
PY
  stop=$(QT_QPA_PLATFORM=offscreen "$bench" stop "$tree" 3)
  echo "stop to SCAN CANCELED! in a scan of 1,000,000 files"
  echo "  without logging:           $(awk '$1 == "stop_without_logging_seconds" { print $2 }' <<< "$stop") s"
  echo "  with logging:              $(awk '$1 == "stop_with_logging_seconds" { print $2 }' <<< "$stop") s"
fi
