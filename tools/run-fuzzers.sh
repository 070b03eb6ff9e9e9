#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded number of inputs, starting from
# its seed corpus under fuzz/corpus/<name without "fuzz_">. A crash stops the run and
# leaves the input as crash-* in fuzz/findings/, to become a regression test.
set -euo pipefail
build=${1:?fuzz build directory}
runs=${2:-1000000}
here=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$here/fuzz/findings"
status=0
for target in "$build"/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name=$(basename "$target")
  seeds="$here/fuzz/corpus/${name#fuzz_}"
  work=$(mktemp -d)
  [ -d "$seeds" ] && cp -r "$seeds"/. "$work"/
  start=$(date +%s)
  if QT_QPA_PLATFORM=offscreen "$target" -runs="$runs" -max_len=16384 -timeout=10 -rss_limit_mb=4096 \
       -artifact_prefix="$here/fuzz/findings/$name-" "$work" >"$work.log" 2>&1; then
    echo "$name: $runs runs, no crash ($(( $(date +%s) - start )) s, $(grep -c . <(ls "$work")) corpus inputs)"
  else
    echo "$name: FAILED after $(( $(date +%s) - start )) s; see fuzz/findings/ and the log below"
    tail -n 40 "$work.log"
    status=1
  fi
  rm -rf "$work" "$work.log"
done
exit $status
