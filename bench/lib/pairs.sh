# Shared by the benchmark scripts that compare in alternating rounds
# (sourced, not run): each round times every contender once, in an order
# that changes from round to round, and the results are the medians.

# time_once OUTPUT COMMAND...: the wall time of one run of COMMAND in
# seconds; its output goes to the file OUTPUT.
time_once() {
  local output=$1 start end
  shift
  start=$EPOCHREALTIME
  "$@" > "$output"
  end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }'
}

# median VALUE...: the median of the values (the mean of the middle two for
# an even count).
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 }
    END { if (NR % 2) printf "%.4f", v[(NR + 1) / 2]; else printf "%.4f", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# pair_ratios A_LIST B_LIST: the ratios A[i] / B[i] of two space-separated
# lists of times taken in the same rounds, one per line.
pair_ratios() {
  paste -d' ' <(tr ' ' '\n' <<< "$1") <(tr ' ' '\n' <<< "$2") | awk 'NF == 2 { printf "%.4f\n", $1 / $2 }'
}
