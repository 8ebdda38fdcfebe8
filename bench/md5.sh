#!/usr/bin/env bash
# MD5 throughput of CZnFile (64 KiB pieces through MD5Update, read with CFile)
# against `md5sum` and `openssl md5` on the same 256 MiB of random bytes, in
# the same run, each read from the page cache and the best of five runs.
# Usage: bench/md5.sh <absolute benchmark build folder>
set -euo pipefail
source "$(dirname "$0")/lib/timing.sh"
bench="$1/bench/zncore_md5_bench"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
data="$work/data.bin"
head -c $((256 * 1024 * 1024)) /dev/urandom > "$data"
cat "$data" > /dev/null

mib_per_s() { awk -v s="$1" 'BEGIN { printf "%.0f", 256 / s }'; }

ours_out=$("$bench" "$data" 5)
ours_digest=$(awk '$1 == "digest" { print $2 }' <<< "$ours_out")
ours_file=$(awk '$1 == "file_seconds" { print $2 }' <<< "$ours_out")
ours_memory=$(awk '$1 == "memory_seconds" { print $2 }' <<< "$ours_out")
md5sum_time=$(best_of 5 "$work/out" md5sum "$data")
md5sum_digest=$(cut -d' ' -f1 "$work/out")
openssl_time=$(best_of 5 "$work/out" openssl md5 -r "$data")
openssl_digest=$(cut -d' ' -f1 "$work/out")
if [[ "$ours_digest" != "$md5sum_digest" || "$ours_digest" != "$openssl_digest" ]]; then
  echo "digests differ: ours $ours_digest, md5sum $md5sum_digest, openssl $openssl_digest" >&2
  exit 1
fi

echo "digest $ours_digest (equal for all three)"
echo "CZnFile, file in 64 KiB pieces: ${ours_file} s, $(mib_per_s "$ours_file") MiB/s"
echo "CZnFile, from memory:           ${ours_memory} s, $(mib_per_s "$ours_memory") MiB/s"
echo "md5sum:                         ${md5sum_time} s, $(mib_per_s "$md5sum_time") MiB/s"
echo "openssl md5:                    ${openssl_time} s, $(mib_per_s "$openssl_time") MiB/s"
awk -v o="$ours_file" -v m="$md5sum_time" -v s="$openssl_time" 'BEGIN {
  printf "throughput ratio: %.2f of md5sum, %.2f of openssl md5\n", m / o, s / o }'
