#!/usr/bin/env bash
# Calls korvel as the competitions' harnesses call a solver executable and
# checks every answer against clingo, on generated frameworks:
#   2019 and 2021 (apx, tgf):  SOLVER -p TASK -f FILE -fo FORMAT [-a ARG]
#     EE  [[a,b],[c]]   SE  [a,b] or NO   DC, DS  YES or NO   CE  a number
#   2023 (i23):                SOLVER -p TASK -f FILE [-a ARG]
#     SE  "w a b" or NO   DC  YES and a "w" line holding ARG, or NO
#     DS  YES, or NO and a "w" line lacking ARG
# and "SOLVER" alone (name, version, authors), "SOLVER --formats",
# "SOLVER --problems".
# Usage: competition_harness.sh KORVEL [FRAMEWORKS]   (CLINGO: the oracle)
set -uo pipefail

solver=$1
clingo=${CLINGO:-clingo}
rounds=${2:-12}
work=$(mktemp -d "${TMPDIR:-/tmp}/korvel harness.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
answers=0

fail() {
  echo "harness: $*" >&2
  failures=$((failures + 1))
}

# Runs the solver; its standard output in $answer, exit status checked.
call() {
  answer=$("$solver" "$@" 2>"$work/err")
  local code=$?
  answers=$((answers + 1))
  if [ $code -ne 0 ] || [ -s "$work/err" ]; then
    fail "$* exited with $code: $(cat "$work/err")"
    return 1
  fi
}

# One extension as its members sorted and joined by commas.
canonical() { tr ', ' '\n\n' | sed '/^$/d' | LC_ALL=C sort | paste -sd, -; }

# --- what a harness asks before any framework
call && { [ -n "$answer" ] && grep -q '[0-9]\.[0-9]' <<<"$answer" && [ "$(wc -l <<<"$answer")" -ge 2 ] ||
  fail "without arguments: no name, version and authors: '$answer'"; }
# Whether a list "[x,y,z]" names every one of the words given.
lists_all() {
  local list=$1 word
  shift
  for word in "$@"; do grep -q "[[,]$word[],]" <<<"$list" || return 1; done
}
call --formats && { grep -Eqx '\[[a-z0-9]+(,[a-z0-9]+)*\]' <<<"$answer" &&
  lists_all "$answer" apx tgf i23 || fail "--formats: '$answer'"; }
call --problems && { grep -Eqx '\[[A-Z]+-[A-Z]+(,[A-Z]+-[A-Z]+)*\]' <<<"$answer" &&
  lists_all "$answer" EE-ST SE-ST CE-ST DC-ST DS-ST || fail "--problems: '$answer'"; }

# --- the oracle: stable extensions by clingo, one canonical line each
cat >"$work/stable.lp" <<'EOF'
in(X) :- arg(X), not out(X).
out(X) :- arg(X), not in(X).
:- in(X), in(Y), att(X, Y).
defeated(X) :- in(Y), att(Y, X).
:- out(X), not defeated(X).
#show in/1.
EOF
# (an empty line for the empty extension), and their number.
models() {
  "$clingo" -n 0 -V0 "$work/stable.lp" "$1" 2>/dev/null | sed -n '/^SATISFIABLE$/q; /^UNSATISFIABLE$/q; p'
}
extensions_by_clingo() {
  models "$1" | sed 's/in(\([^)]*\))/\1/g' |
    while IFS= read -r model; do canonical <<<"$model"; done | LC_ALL=C sort
}

name_list='[A-Za-z0-9_]+(,[A-Za-z0-9_]+)*'
for ((round = 1; round <= rounds; round++)); do
  n=$((1 + round % 7))
  # A framework of n arguments a1..an with a seeded choice of attacks.
  awk -v seed="$round" -v n="$n" 'BEGIN {
      srand(seed); m = int(rand() * (2 * n + 1))
      for (i = 1; i <= n; i++) print "arg(a" i ")."
      for (k = 0; k < m; k++) print "att(a" int(rand() * n) + 1 ",a" int(rand() * n) + 1 ")."
    }' >"$work/f.apx"
  sed -n 's/^arg(\(.*\))\.$/\1/p' "$work/f.apx" >"$work/f.tgf"
  echo "#" >>"$work/f.tgf"
  sed -n 's/^att(\(.*\),\(.*\))\.$/\1 \2/p' "$work/f.apx" >>"$work/f.tgf"
  { echo "p af $n"; sed -n 's/^att(a\(.*\),a\(.*\))\.$/\1 \2/p' "$work/f.apx"; } >"$work/f.af"
  expected=$(extensions_by_clingo "$work/f.apx")
  count=$(models "$work/f.apx" | wc -l)
  label="framework $round ($(tr '\n' ' ' <"$work/f.apx"))"

  # --- 2019 and 2021: apx and tgf with -fo
  for format in apx tgf; do
    file="$work/f.$format"
    if call -p EE-ST -f "$file" -fo "$format"; then
      if ! grep -Eqx "\[(\[($name_list)?\](,\[($name_list)?\])*)?\]" <<<"$answer"; then
        fail "$label $format EE-ST: not [[...],...]: '$answer'"
      else
        inner=${answer#[}
        inner=${inner%]}
        listed=$(grep -o '\[' <<<"$inner" | wc -l)
        got=$([ -n "$inner" ] && sed 's/\],\[/]\n[/g' <<<"$inner" | tr -d '[]' |
          while IFS= read -r extension; do canonical <<<"$extension"; done | LC_ALL=C sort)
        [ "$got" = "$expected" ] && [ "$listed" -eq "$count" ] ||
          fail "$label $format EE-ST: '$answer', clingo: $count '$expected'"
      fi
    fi
    if call -p SE-ST -f "$file" -fo "$format"; then
      if [ "$count" -eq 0 ]; then
        [ "$answer" = NO ] || fail "$label $format SE-ST: '$answer', clingo: none"
      elif ! grep -Eqx "\[($name_list)?\]" <<<"$answer" ||
        ! grep -qxF -- "$(tr -d '[]' <<<"$answer" | canonical)" <<<"$expected"; then
        fail "$label $format SE-ST: '$answer' is no extension of '$expected'"
      fi
    fi
    call -p CE-ST -f "$file" -fo "$format" && { [ "$answer" = "$count" ] ||
      fail "$label $format CE-ST: '$answer', clingo: $count"; }
    for ((a = 1; a <= n; a++)); do
      holding=$(grep -c "\(^\|,\)a$a\(,\|$\)" <<<"$expected")
      [ "$holding" -gt 0 ] && credulous=YES || credulous=NO
      [ "$holding" -eq "$count" ] && skeptical=YES || skeptical=NO
      call -p DC-ST -f "$file" -fo "$format" -a "a$a" && { [ "$answer" = "$credulous" ] ||
        fail "$label $format DC-ST a$a: '$answer', clingo: $credulous"; }
      call -p DS-ST -f "$file" -fo "$format" -a "a$a" && { [ "$answer" = "$skeptical" ] ||
        fail "$label $format DS-ST a$a: '$answer', clingo: $skeptical"; }
    done
  done

  # --- 2023: i23, no -fo; arguments are numbers, extensions "w" lines
  numbered=$(sed 's/a//g' <<<"$expected" | while IFS= read -r extension; do
    tr ',' '\n' <<<"$extension" | sed '/^$/d' | LC_ALL=C sort | paste -sd, -; done | LC_ALL=C sort)
  witness_of() {
    grep -Eqx "w( [0-9]+)*" <<<"$1" || return 1
    sed 's/^w//' <<<"$1" | canonical
  }
  if call -p SE-ST -f "$work/f.af"; then
    if [ "$count" -eq 0 ]; then
      [ "$answer" = NO ] || fail "$label i23 SE-ST: '$answer', clingo: none"
    else
      w=$(witness_of "$answer") && grep -qxF -- "$w" <<<"$numbered" ||
        fail "$label i23 SE-ST: '$answer' is no extension of '$numbered'"
    fi
  fi
  for ((a = 1; a <= n; a++)); do
    holding=$(grep -c "\(^\|,\)$a\(,\|$\)" <<<"$numbered")
    if call -p DC-ST -f "$work/f.af" -a "$a"; then
      if [ "$holding" -eq 0 ]; then
        [ "$answer" = NO ] || fail "$label i23 DC-ST $a: '$answer', clingo: NO"
      elif [ "$(head -1 <<<"$answer")" != YES ] || [ "$(wc -l <<<"$answer")" -ne 2 ] ||
        ! w=$(witness_of "$(tail -1 <<<"$answer")") || ! grep -qxF -- "$w" <<<"$numbered" ||
        ! grep -q "\(^\|,\)$a\(,\|$\)" <<<"$w"; then
        fail "$label i23 DC-ST $a: '$answer' is no YES with an extension holding $a"
      fi
    fi
    if call -p DS-ST -f "$work/f.af" -a "$a"; then
      if [ "$holding" -eq "$count" ]; then
        [ "$answer" = YES ] || fail "$label i23 DS-ST $a: '$answer', clingo: YES"
      elif [ "$(head -1 <<<"$answer")" != NO ] || [ "$(wc -l <<<"$answer")" -ne 2 ] ||
        ! w=$(witness_of "$(tail -1 <<<"$answer")") || ! grep -qxF -- "$w" <<<"$numbered" ||
        grep -q "\(^\|,\)$a\(,\|$\)" <<<"$w"; then
        fail "$label i23 DS-ST $a: '$answer' is no NO with an extension lacking $a"
      fi
    fi
  done
done

echo "harness: $answers answers, $failures rejected"
[ "$failures" -eq 0 ]
