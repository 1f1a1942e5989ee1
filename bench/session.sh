#!/usr/bin/env bash
# Measures a scripted full session (five dialogs, the display, two checks, q)
# against two others that print the very same output: cat, and the floor, a
# static C program that does nothing but copy it to standard output. Counts
# instructions executed (callgrind, deterministic), write calls and peak
# resident memory (/usr/bin/time). Builds nothing but the floor (cc).
# Usage: bench/session.sh PROGRAM [BUDGET [FLOOR_BUDGET [WRITES]]]
#   budgets: highest ratio to cat (1.2), to the floor (2.5), most writes (4)
set -euo pipefail
program=${1:?usage: bench/session.sh PROGRAM [BUDGET [FLOOR_BUDGET [WRITES]]]}
budget=${2:-1.2}
floor_budget=${3:-2.5}
writes_budget=${4:-4}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

printf '%s' 'a100 1200 3
b2.3 1 1 0
c239 80 477 10
d150 300 40 2689 0.8 12
e1.4 1.8 1
w   g   g   q' > "$work/input"
"$program" < "$work/input" > "$work/output"

cat > "$work/floor.c" <<'C'
#include <unistd.h>
int main(void) {
  static char buffer[1 << 16];
  ssize_t n;
  while ((n = read(0, buffer, sizeof buffer)) > 0)
    if (write(1, buffer, (size_t)n) != n) return 1;
  return n < 0;
}
C
cc -O2 -static -o "$work/floor" "$work/floor.c"

# Instructions of one run, as callgrind counts them.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/.*Collected : *\([0-9]*\).*/\1/p'
}
# Write calls of one run.
writes() {
  valgrind --tool=none --trace-syscalls=yes "$@" 2>&1 >/dev/null | grep -c 'sys_write *('
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
floor_ir=$(instructions "$work/floor" < "$work/output")
tavro_writes=$(writes "$program" < "$work/input")
tavro_kb=$(peak "$work/input" "$program")
cat_kb=$(peak /dev/null cat "$work/output")

awk -v ti="$tavro_ir" -v ci="$cat_ir" -v fi="$floor_ir" -v tk="$tavro_kb" \
    -v ck="$cat_kb" -v tw="$tavro_writes" -v b="$budget" -v fb="$floor_budget" \
    -v wb="$writes_budget" -v bytes="$(wc -c < "$work/output")" 'BEGIN {
  ri = ti / ci; rf = ti / fi; rk = tk / ck
  printf "output: %d bytes in %d write calls\n", bytes, tw
  printf "instructions: tavro %d, cat %d, ratio %.3f\n", ti, ci, ri
  printf "instructions: tavro %d, floor %d, ratio %.3f\n", ti, fi, rf
  printf "peak memory:  tavro %d KiB, cat %d KiB, ratio %.3f\n", tk, ck, rk
  if (ri > b || rk > b || rf > fb || tw > wb) {
    printf "over the budget: %.2f to cat, %.2f to the floor, %d writes\n", b, fb, wb
    exit 1
  }
  printf "within the budget: %.2f to cat, %.2f to the floor, %d writes\n", b, fb, wb
}'
