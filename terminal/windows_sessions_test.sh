#!/usr/bin/env bash
# Scripted sessions give tavro.exe exactly the Linux program's bytes and exit
# status: CR LF lines, a Ctrl-Z byte, a decimal comma, NaN results, the
# input ending mid-dialog; through a file and through pipes. The answers to
# --help, --version and an unknown option match too, on both streams.
# Usage: windows_sessions_test.sh LINUX_TAVRO TAVRO_EXE   (Wine's environment
# set by the caller; skipped when there is no Linux program)
set -u
linux=${1:?usage: windows_sessions_test.sh LINUX_TAVRO TAVRO_EXE}
exe=${2:?usage: windows_sessions_test.sh LINUX_TAVRO TAVRO_EXE}
[ -x "$linux" ] || { echo "no Linux program at $linux: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

sessions=(
  'a100 1200 3\nb2.3 1 1 0\nc239 80 477 10\nd150 300 40 2689 0.8 12\ne1.4 1.8 1\nw   g   g   q'
  'a100 1200 3\r\nb2.3 1 1 0\r\nw   g   q'
  'a1 2 3\n\032g x\032q'
  'a1,5 1200 3,5\nw   g   q'
  'b2.3 0 0 0\nd0 0 0 0 0 0\ng   q'
  'a1'
  'iqq'
)
passed=0 failed=0
for session in "${sessions[@]}"; do
  printf "$session" > "$work/input"
  "$linux" < "$work/input" > "$work/linux"
  echo "status $?" >> "$work/linux"
  /usr/lib/wine/wine64 "$exe" < "$work/input" > "$work/file"
  echo "status $?" >> "$work/file"
  cat "$work/input" | /usr/lib/wine/wine64 "$exe" | cat > "$work/pipe"
  echo "status ${PIPESTATUS[1]}" >> "$work/pipe"
  for way in file pipe; do
    if cmp -s "$work/linux" "$work/$way"; then
      passed=$((passed + 1))
    else
      failed=$((failed + 1))
      echo "FAILED ($way): $session"
      diff <(od -c "$work/linux") <(od -c "$work/$way") | head -n 20
    fi
  done
done
for arg in --help --version --bogus; do
  "$linux" "$arg" < /dev/null > "$work/linux" 2>&1
  echo "status $?" >> "$work/linux"
  /usr/lib/wine/wine64 "$exe" "$arg" < /dev/null > "$work/exe" 2>&1
  echo "status $?" >> "$work/exe"
  if cmp -s "$work/linux" "$work/exe"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: tavro $arg"
    diff "$work/linux" "$work/exe" | head -n 20
  fi
done
echo "scripted sessions: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
