#!/usr/bin/env bash
# The man page renders without a single groff warning and is plain ASCII.
set -u
page="$(dirname "$0")/tavro.1"
warnings=$(groff -t -man -Tascii -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  printf 'groff warns:\n%s\n' "$warnings"
  exit 1
fi
if LC_ALL=C grep -n '[^[:print:][:space:]]' "$page"; then
  echo "the man page is not plain ASCII"
  exit 1
fi
for section in NAME BESCHREIBUNG OPTIONEN TASTEN EINGABEN PRUEFUNGEN URTEIL FREQUENZFAKTOR SKRIPTBETRIEB EXIT-STATUS; do
  grep -q "^\.SH $section" "$page" || { echo "no section $section"; exit 1; }
done
echo "man page: 1 passed, 0 failed"
