#!/bin/sh
# Times `trovik-cli export` as a whole process against `cp TROVIK.HEX
# OUTPUT.HEX`, side by side in the same run, and prints the medians and
# their ratio. Usage: bench/export_vs_cp.sh [path/to/trovik-cli] [runs]
set -eu
cli=$(realpath "${1:-build/default/src/cli/trovik-cli}")
runs=${2:-300}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cp "$(dirname "$0")/../examples/TROVIK.HEX" "$dir/TROVIK.HEX"
cd "$dir"

# One sample of each command in turn, so both see the same machine load.
i=0
while [ "$i" -lt "$runs" ]; do
  a=$(date +%s%N); "$cli" export >/dev/null; b=$(date +%s%N)
  cp TROVIK.HEX OUTPUT.HEX; c=$(date +%s%N)
  echo "$((b - a)) $((c - b))"
  i=$((i + 1))
done >samples

median() { sort -n | awk '{v[NR]=$1} END {print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
export_ns=$(cut -d' ' -f1 samples | median)
cp_ns=$(cut -d' ' -f2 samples | median)
awk -v e="$export_ns" -v c="$cp_ns" -v n="$runs" 'BEGIN {
  printf "runs: %d\nexport median: %.0f us\ncp median:     %.0f us\nratio:         %.2f\n", n, e/1000, c/1000, e/c }'
