#!/usr/bin/env bash
# The program as a script runs it: tavro --check's exit statuses and their
# precedence (1 a file not read, before 2 a file not loaded, before 3 a check
# not okay, else 0), the way to the results with --derivation, and a session
# started with --case and a link.
# Usage: app/check_test.sh TAVRO
set -u
tavro=$(realpath "${1:?usage: app/check_test.sh TAVRO}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
printf 'TKmax = 1300\n' >fits.txt                # every check okay
printf 'TLN = 159 # Nm\r\n' >example.txt         # TSLmax above TKmax
printf 'TLN = 1\nfoo = 2\n' >bad.txt             # not a case
printf '# nur Kommentar\n\n' >empty.txt           # no case at all
printf 'TLN = 1x\033[2J\033[H\n' >esc.txt          # a value that would clear the screen
passed=0
failed=0
fail() {
  printf 'FAILED: %s\n' "$*"
  failed=$((failed + 1))
}

# STATUS INPUT ARGS...: tavro ARGS with INPUT on standard input ends with
# STATUS; its output is left in out and err.
runs() {
  local want=$1 input=$2
  shift 2
  printf '%s' "$input" | "$tavro" "$@" >out 2>err
  local got=$?
  if [ "$got" -eq "$want" ]; then passed=$((passed + 1)); else fail "tavro $* ended with $got, not $want"; fi
}
# WHAT COMMAND...: COMMAND succeeds, as WHAT says.
holds() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else fail "$what"; fi
}
# TEXT FILE: FILE holds the line TEXT.
has() { holds "a line '$1' in $2" grep -qxF -- "$1" "$2"; }

runs 0 '' --check fits.txt
has 'Stoss L:TKmax okay!' out
runs 3 '' --check fits.txt example.txt
has '== example.txt' out
has 'Stoss L:TKmax nicht okay!' out
runs 2 '' --check example.txt bad.txt
has 'tavro: bad.txt:2: unbekannter Name "foo"' err
runs 2 '' --check fits.txt empty.txt
has 'tavro: empty.txt: kein Fall in der Datei: keine Zeile FELD = WERT' err
runs 2 '' --check esc.txt
has 'tavro: esc.txt:1: TLN: "1x\x1b[2J\x1b[H" ist keine Zahl' err
runs 1 '' --check bad.txt missing.txt example.txt
has 'tavro: missing.txt: No such file or directory' err
has '== example.txt' out
runs 2 '' --check --case 'TLN=1' fits.txt
has 'tavro: --case geht nicht mit --check' err
runs 2 '' --check
runs 0 '' --check --format json fits.txt
holds "--format json: a line a case" [ "$(wc -l <out)" -eq 1 ]

runs 3 '' --check --derivation example.txt
has 'Rechenweg:' out
has 'TSL = rJ · TLS / (rJ + 1) · SS = 2.3 · 477 / (2.3 + 1) · 1.8 = 598.418 Nm' out
has 'TSLmax = 908.902 Nm > TKmax = 530 Nm → nicht okay!' out
has 'PWimax = 0.00882134 W ≤ PKW = 12 W → okay!' out

# A link, or only its part after "#", starts the session with its case.
runs 0 'w   q' --case 'https://example.org/tavro.html#TLN=100&n=1200'
has 'Nennm. TLN= 100 [Nm]' out
has 'Drehzahl n= 1200 [1/min]' out
runs 0 'w   q' --case 'TLN=100'
has 'Nennm. TLN= 100 [Nm]' out
runs 2 'w   q' --case 'https://example.org/tavro.html#TLN=x&n=1200'
has 'tavro: --case: nicht gelesen: TLN=x' err
holds "a link not read starts no session" [ ! -s out ]

echo "tavro --check as a process: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
