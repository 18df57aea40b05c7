#!/usr/bin/env bash
# Runs every fuzz target of build-fuzz for a number of seconds each and reports the inputs run.
#   scripts/fuzz.sh SECONDS CORPUS [keepgoing]
# The seeds in fuzz/corpus/TARGET are read and never written; what the fuzzer adds goes to
# build-fuzz/CORPUS/TARGET, what fails to build-fuzz/crashes. Without keepgoing a target stops at
# its first failure and the script fails at once (make test); with it every target runs its full
# time in fork mode, going on after a failure, and the script fails at the end when any target
# failed (make fuzz).
set -u
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="$ROOT/build-fuzz"
SECONDS_EACH="$1"
CORPUS="$2"
KEEPGOING="${3:-}"
TARGETS="protocol fen options config books"
mkdir -p "$BUILD/crashes"
total=0
failed=0
for t in $TARGETS; do
  mkdir -p "$BUILD/$CORPUS/$t"
  log="$BUILD/fuzz-$t.log"
  flags=(-timeout=20 -rss_limit_mb=2048 -max_total_time="$SECONDS_EACH" -artifact_prefix="$BUILD/crashes/$t-")
  if [ -n "$KEEPGOING" ]; then
    flags+=(-fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1)
  else
    flags+=(-print_final_stats=1)
  fi
  "$BUILD/fuzz-$t" "${flags[@]}" "$BUILD/$CORPUS/$t" "$ROOT/fuzz/corpus/$t" 2>"$log"
  status=$?
  if [ -n "$KEEPGOING" ]; then
    runs=$(grep -oE '^#[0-9]+:' "$log" | tail -1 | tr -dc '0-9')
    bad=$(grep -oE 'oom/timeout/crash: [0-9]+/[0-9]+/[0-9]+' "$log" | tail -1 | cut -d' ' -f2)
    bad=${bad:-0/0/0}
    [ "$bad" != "0/0/0" ] && failed=1
  else
    runs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | tr -dc '0-9')
    bad="-"
    if [ $status -ne 0 ]; then
      tail -40 "$log"
      echo "fuzz-$t failed; its input is in $BUILD/crashes"
      exit 1
    fi
  fi
  runs=${runs:-0}
  total=$((total + runs))
  echo "fuzz-$t: $runs inputs in $SECONDS_EACH s (oom/timeout/crash: $bad)"
done
echo "fuzzing: $total inputs in all"
if [ $failed -ne 0 ]; then
  echo "some inputs failed: see $BUILD/crashes and $BUILD/fuzz-*.log"
  exit 1
fi
