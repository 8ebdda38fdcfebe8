# Shared by the benchmark scripts (sourced, not run).

# best_of RUNS OUTPUT COMMAND...: the best wall time of RUNS runs of COMMAND,
# in seconds. The output goes to the file OUTPUT, not /dev/null: GNU grep,
# for one, stops at its first match when its output is /dev/null.
best_of() {
  local runs=$1 output=$2 best="" start end took
  shift 2
  for ((run = 0; run < runs; ++run)); do
    start=$EPOCHREALTIME
    "$@" > "$output"
    end=$EPOCHREALTIME
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }')
    if [[ -z "$best" ]] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$took; fi
  done
  echo "$best"
}

# ratio A B: A / B with two decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
