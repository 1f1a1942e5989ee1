#!/usr/bin/env bash
# Whether the tests fail when the program is wrong: applies each deliberate
# fault of mutation/faults.tsv, one at a time, to a scratch copy of the
# working tree, builds it and runs the tests the fault names. Prints for each
# whether a test caught it; ends with status 1 when a fault survived, did
# not build or was not found (its text must be in its file exactly once).
# The tests must pass in the copy before any fault is applied. Slow: one
# full build per preset, then a rebuild per fault.
# A fault of the browser page names the preset web and runs its tests in
# the browsers (minutes each).
# Usage: mutation/run.sh [NAME-PATTERN]   (only the faults whose name matches)
set -euo pipefail
export LC_ALL=C  # the texts are compared as bytes
source=$(cd "$(dirname "$0")/.." && pwd)
only=${1:-}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tavro-mutants.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
log=$scratch/log

# The working tree as it is, changes not yet committed included; the times
# kept, so that the page's build takes the packages in place as they are.
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
  xargs -0 cp --parents --preserve=timestamps -t "$scratch" 2>/dev/null) || true
[ -d "$source/web/node_modules" ] && ln -s "$source/web/node_modules" "$scratch/web/node_modules"

faults=()
while IFS= read -r line; do
  [[ -z $line || $line == \#* ]] && continue
  IFS=$'\t' read -r name _ <<<"$line"
  [[ -n $only && ! $name =~ $only ]] && continue
  faults+=("$line")
done <"$source/mutation/faults.tsv"

# Builds PRESET's configuration in the copy; false when it does not build.
declare -A configured=()
build() {
  local preset=$1
  if [ -z "${configured[$preset]:-}" ]; then
    (cd "$scratch" && cmake --preset "$preset") >"$log" 2>&1 || return 1
    configured[$preset]=1
  fi
  cmake --build "$scratch/build/$preset" >"$log" 2>&1
}
# Runs PRESET's tests matching PATTERN; false when one fails or none match.
# PATTERN is a ctest -R pattern, for the page's tests followed by @ and a
# pattern for the names of the tests in the browsers to run.
tests() {
  local names=
  [[ $2 == *@* ]] && names=${2#*@}
  TAVRO_WEB_TESTS=$names ctest --test-dir "$scratch/build/$1" -R "${2%%@*}" --no-tests=error \
    --timeout 900 >"$log" 2>&1
}

# Without a fault every named test must pass, or a failure proves nothing.
declare -A passed=()
for line in "${faults[@]}"; do
  IFS=$'\t' read -r name preset pattern _ <<<"$line"
  [ -n "${passed[$preset $pattern]:-}" ] && continue
  passed[$preset $pattern]=1
  if ! build "$preset" || ! tests "$preset" "$pattern"; then
    tail -n 30 "$log"
    echo "mutation: without any fault, preset $preset and tests $pattern do not pass" >&2
    exit 2
  fi
done

caught=0
missed=()
for line in "${faults[@]}"; do
  IFS=$'\t' read -r name preset pattern file text replacement <<<"$line"
  target=$scratch/$file
  original=$(cat "$target" && printf x)
  original=${original%x}
  without=${original//"$text"/}
  found=$(((${#original} - ${#without}) / ${#text}))
  if [ "$found" -ne 1 ]; then
    printf 'NOT FOUND  %-30s %s: its text is there %d times\n' "$name" "$file" "$found"
    missed+=("$name")
    continue
  fi
  printf '%s' "${original/"$text"/"$replacement"}" >"$target"
  if ! build "$preset"; then
    printf 'NO BUILD   %-30s %s\n' "$name" "$(grep -m1 'error' "$log" || true)"
    missed+=("$name")
  elif tests "$preset" "$pattern"; then
    printf 'SURVIVED   %-30s no test of %s failed\n' "$name" "$pattern"
    missed+=("$name")
  else
    printf 'caught     %-30s by %s\n' "$name" \
      "$(sed -n 's/^[[:space:]]*[0-9]\+ - \(.*\) (.*)$/\1/p' "$log" | paste -sd ' ' -)"
    caught=$((caught + 1))
  fi
  printf '%s' "$original" >"$target"
done

echo "mutation: ${#faults[@]} faults, $caught caught, ${#missed[@]} not: ${missed[*]:-none}"
[ ${#missed[@]} -eq 0 ]
