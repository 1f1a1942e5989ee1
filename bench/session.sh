#!/usr/bin/env bash
# Measures a scripted full session (five dialogs, the display, two checks, q)
# against cat printing the very same output: instructions executed (callgrind,
# deterministic) and peak resident memory (/usr/bin/time). Builds nothing.
# Usage: bench/session.sh PROGRAM [BUDGET]   (budget: highest ratio, 1.2)
set -euo pipefail
program=${1:?usage: bench/session.sh PROGRAM [BUDGET]}
budget=${2:-1.2}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%s' 'a100 1200 3
b2.3 1 1 0
c239 80 477 10
d150 300 40 2689 0.8 12
e1.4 1.8 1
w   g   g   q' > "$work/input"
"$program" < "$work/input" > "$work/output"

# Instructions of one run, as callgrind counts them.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}
# Peak resident memory of one run with standard input from $1, in KiB; the
# least of five runs.
peak() {
  local input=$1
  shift
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f %M "$@" < "$input" 2>&1 >/dev/null | tail -n 1
  done | sort -n | head -n 1
}

tavro_ir=$(instructions "$program" < "$work/input")
cat_ir=$(instructions cat "$work/output" < /dev/null)
tavro_kb=$(peak "$work/input" "$program")
cat_kb=$(peak /dev/null cat "$work/output")

awk -v ti="$tavro_ir" -v ci="$cat_ir" -v tk="$tavro_kb" -v ck="$cat_kb" \
    -v b="$budget" -v bytes="$(wc -c < "$work/output")" 'BEGIN {
  ri = ti / ci; rk = tk / ck
  printf "output: %d bytes\n", bytes
  printf "instructions: tavro %d, cat %d, ratio %.3f\n", ti, ci, ri
  printf "peak memory:  tavro %d KiB, cat %d KiB, ratio %.3f\n", tk, ck, rk
  if (ri > b || rk > b) { printf "over the budget of %.2f\n", b; exit 1 }
  printf "within the budget of %.2f\n", b
}'
