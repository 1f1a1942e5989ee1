#!/usr/bin/env bash
# tavro.exe in Wine's console on a pseudo-terminal (tmux), typed at as a
# person would: keys without Enter and echo, one page per arrow key, numbers
# echoed with Backspace working, q ends with status 0, Ctrl-C at a prompt
# with Windows's status for it (STATUS_CONTROL_C_EXIT, 0x3A as a Unix status);
# standard error's UTF-8 shows right at the console's code page 437, which
# cmd finds unchanged afterwards.
# Usage: windows_console_test.sh TAVRO_EXE   (Wine's environment set by the caller)
set -u
exe=${1:?usage: windows_console_test.sh TAVRO_EXE}
exe=$(realpath "$exe")
command -v tmux >/dev/null || { echo "no tmux: skipped"; exit 77; }
runs=0
tmux=true
trap '$tmux kill-server 2>/dev/null' EXIT
start() {  # the program in a new tmux server of its own
  $tmux kill-server 2>/dev/null
  runs=$((runs + 1))
  tmux="tmux -L tavro-console-$$-$runs"
  $tmux new-session -d -x 100 -y 50 \
    "env WINEPREFIX='${WINEPREFIX:-}' WINEDEBUG=-all /usr/lib/wine/wine64 '$exe'; echo EXIT=\$?; sleep 60"
}

screen() { $tmux capture-pane -p -S - -E - 2>/dev/null | grep -v '^$'; }
# Waits until TEXT shows COUNT times (default 1) on the screen and its history.
wait_for() {
  local text=$1 count=${2:-1}
  for _ in $(seq 200); do
    [ "$(screen | grep -c -F -- "$text")" -ge "$count" ] && return 0
    sleep 0.1
  done
  echo "FAILED: no ${count}x '$text' on the screen:"
  screen | tail -n 30
  exit 1
}
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  "$@" || { echo "FAILED: $what"; screen | tail -n 30; exit 1; }
}

start
wait_for "F8 q Exit"
$tmux send-keys g
wait_for "weiter mit bel.Taste.."
check "g runs at once and is not echoed" \
  bash -c "$tmux capture-pane -p -S - | grep -v '^\$' | grep -A1 -F 'F8 q Exit' | tail -n 1 | grep -qx 'Ergebnisse 1.Teil'"
$tmux send-keys Down
wait_for "Ergebnisse 2.Teil"
sleep 0.5
check "an arrow key turns one page" bash -c "! $tmux capture-pane -p -S - | grep -q 'Ergebnisse 3.Teil'"
$tmux send-keys x
wait_for "F8 q Exit" 2
for key in F5 Up M-q ä Escape; do  # each one key without a command
  $tmux send-keys "$key"
  sleep 0.3
done
wait_for "F8 q Exit" 7
sleep 0.5
check "special keys are one key each" bash -c "[ \$($tmux capture-pane -p -S - | grep -c 'F8 q Exit') = 7 ]"
$tmux send-keys a
wait_for "Nennmoment TLN[Nm]="
$tmux send-keys "123 14500" BSpace Enter
wait_for "Ordnungszahl="
check "the number line is echoed and corrected" \
  bash -c "$tmux capture-pane -p -S - | grep -qF 'Nennmoment TLN[Nm]= 123 1450'"
$tmux send-keys 3 Enter
wait_for "F8 q Exit" 8
$tmux send-keys w
wait_for "Drehzahl n= 1450 [1/min]"
check "two fields from one line" bash -c "$tmux capture-pane -p -S - | grep -qF 'Nennm. TLN= 123 [Nm]'"
$tmux send-keys x
wait_for "F8 q Exit" 9
$tmux send-keys q
wait_for "EXIT="
check "q ends with status 0" bash -c "$tmux capture-pane -p -S - | grep -qx 'EXIT=0'"

start
wait_for "F8 q Exit"
$tmux send-keys d
wait_for "TKN   [Nm]="
$tmux send-keys C-c
wait_for "EXIT="
check "Ctrl-C ends as Windows ends it" bash -c "$tmux capture-pane -p -S - | grep -q 'EXIT=58\$'"
# Standard error in UTF-8 shows right in a console of another code page,
# which is as found afterwards.
$tmux kill-server 2>/dev/null
runs=$((runs + 1))
tmux="tmux -L tavro-console-$$-$runs"
$tmux new-session -d -x 100 -y 50 \
  "cd /tmp; env LC_ALL=C.UTF-8 WINEPREFIX='${WINEPREFIX:-}' WINEDEBUG=-all /usr/lib/wine/wine64 cmd /c \$(winepath -w '$exe') --check fehlt_ä_Ł.txt '&' chcp; echo EXIT=\$?; sleep 60"
wait_for "EXIT="
check "standard error's UTF-8 shows right" bash -c "$tmux capture-pane -p -S - | grep -q '^tavro: fehlt_ä_Ł.txt: '"
check "the code page is as found" bash -c "$tmux capture-pane -p -S - | grep -q 'code page: [0-9]*\$' && ! $tmux capture-pane -p -S - | grep -q 'code page: 65001'"
echo "console keys: 1 passed, 0 failed"
