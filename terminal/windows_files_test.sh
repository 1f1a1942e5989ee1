#!/usr/bin/env bash
# tavro.exe given what Windows users give it, against the Linux program: a
# case file named with umlauts and a Polish letter in a folder with a space,
# read by --check --format json (valid UTF-8 JSON naming it as typed, and
# the Linux program's bytes for the same name) and by the menu; *.txt and
# ?.txt expanding to the files alone, sorted by name ignoring case, a
# pattern that matches nothing named with status 1, and one in a missing
# folder with the system's reason; /? answering as --help;
# standard error's bytes for a table with an unknown unit.
# Usage: windows_files_test.sh LINUX_TAVRO TAVRO_EXE   (Wine's environment
# set by the caller; skipped when there is no Linux program or no python3)
set -u
linux=${1:?usage: windows_files_test.sh LINUX_TAVRO TAVRO_EXE}
exe=${2:?usage: windows_files_test.sh LINUX_TAVRO TAVRO_EXE}
[ -x "$linux" ] || { echo "no Linux program at $linux: skipped"; exit 77; }
command -v python3 >/dev/null || { echo "no python3: skipped"; exit 77; }
linux=$(realpath "$linux") exe=$(realpath "$exe")
# Wine takes arguments and file names in the locale's encoding.
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
wine() { /usr/lib/wine/wine64 "$exe" "$@"; }

passed=0 failed=0
# same WHAT FILE1 FILE2: the two files hold the same bytes
same() {
  if cmp -s "$2" "$3"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $1"
    diff <(od -c "$2") <(od -c "$3") | head -n 20
  fi
}
# holds WHAT COMMAND...: the command succeeds
holds() {
  local what=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what"
  fi
}

mkdir "Fälle 2026" "Zwei Fälle" "Zwei Fälle/d.txt"
case='Fälle 2026/Maß für Łódź.txt'
printf 'TLN = 480\nn = 1480\n' > "$case"

# --check --format json: the name as typed, with a backslash, in valid UTF-8
# JSON; with a slash, the Linux program's bytes and status.
wine --check --format json 'Fälle 2026\Maß für Łódź.txt' > json 2> errors
echo "status $?" >> errors
holds "--check --format json gives valid UTF-8 JSON naming the file" python3 -c '
import json, sys
lines = open("json", "rb").read().decode("utf-8").splitlines()
assert len(lines) == 1 and json.loads(lines[0])["file"] == sys.argv[1], lines
' 'Fälle 2026\Maß für Łódź.txt'
"$linux" --check --format json "$case" > linux 2>&1
echo "status $?" >> linux
wine --check --format json "$case" > exe 2>&1
echo "status $?" >> exe
same "--check --format json with a slash" linux exe

# The menu starts with the file's case and shows it.
printf 'w   q' | "$linux" "$case" > linux 2> /dev/null
echo "status $?" >> linux
printf 'w   q' | wine 'Fälle 2026\Maß für Łódź.txt' > exe 2> /dev/null
echo "status $?" >> exe
same "the menu with a case file named in Unicode" linux exe

# Wildcards: the files only, sorted ignoring case (a before B), as the
# Linux program checks them named one by one.
"$linux" --template | sed 's/^TLN = .*/TLN = 100/' > "Zwei Fälle/B.txt"
"$linux" --template | sed 's/^TLN = .*/TLN = 200/' > "Zwei Fälle/a.txt"
"$linux" --template > "Zwei Fälle/c.csv"
"$linux" --check --format csv "Zwei Fälle/a.txt" "Zwei Fälle/B.txt" 2>&1 |
  sed 's|^Zwei Fälle/|Zwei Fälle\\|' > linux
echo "status ${PIPESTATUS[0]}" >> linux
for pattern in '*.txt' '?.txt'; do
  wine --check --format csv "Zwei Fälle\\$pattern" > exe 2>&1
  echo "status $?" >> exe
  same "$pattern expands to two files in order" linux exe
done
wine --check 'Zwei Fälle\*.xyz' 'Zwei Fälle\a.txt' > /dev/null 2> exe
echo "status $?" >> exe
printf 'tavro: Zwei Fälle\\*.xyz: keine Datei passt zu diesem Muster\nstatus 1\n' > expected
same "a pattern that matches nothing is named" expected exe
# A folder that is not there is said as the system says it, not as no match.
wine --check 'Kein Ordner\*.txt' > /dev/null 2> exe
echo "status $?" >> exe
holds "a pattern in a missing folder names the system's reason" \
  bash -c 'grep -q "^tavro: Kein Ordner.\*.txt: ." exe && ! grep -q "passt" exe && grep -qx "status 1" exe'

# /? is --help.
"$linux" --help > linux 2>&1
echo "status $?" >> linux
wine '/?' > exe 2>&1
echo "status $?" >> exe
same "/? answers as --help" linux exe

# Standard error's bytes, a name in Unicode in them.
table='Baugrößen Ł.csv'
printf 'Größe;TKN [lbft];TKmax;TKW;Cdyn;psi;PKW\nB4;265;530;69;2689;0,8;12\n' > "$table"
"$linux" --check --series "$table" "$case" 2> linux > /dev/null
echo "status $?" >> linux
wine --check --series "$table" "$case" 2> exe > /dev/null
echo "status $?" >> exe
same "standard error for a table with an unknown unit" linux exe
holds "standard error names the unit" grep -q '^tavro: Baugrößen Ł.csv:1: keine Baugröße gelesen: die Einheit „lbft“ von TKN ist unbekannt' exe

echo "Windows files: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
