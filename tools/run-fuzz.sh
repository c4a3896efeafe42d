#!/usr/bin/env bash
# Runs the fuzz targets of a TARNEL_FUZZ build one after another, each for
# the given seconds from a fresh corpus of its seeds, and prints for each the
# executions and the coverage (edges) reached. Crashing inputs go to
# BUILD/fuzz/runs/artifacts/TARGET/, logs and final corpora beside them.
#
# usage: tools/run-fuzz.sh BUILD_DIR SECONDS [TARGET...]
set -euo pipefail
build=$1
seconds=$2
shift 2
list=$build/fuzz/targets.txt
runs=$build/fuzz/runs
summary=$runs/summary.txt
mkdir -p "$runs"
: > "$summary"
failed=0
while IFS='|' read -r name options seeds; do
  if [ $# -gt 0 ] && ! printf '%s\n' "$@" | grep -qx "$name"; then continue; fi
  corpus=$runs/corpus/$name
  artifacts=$runs/artifacts/$name/
  rm -rf "$corpus"
  mkdir -p "$corpus" "$artifacts"
  for seed in $seeds; do
    if [ -d "$seed" ]; then find "$seed" -maxdepth 1 -type f -exec cp {} "$corpus/" \; ; else cp "$seed" "$corpus/"; fi
  done
  # shellcheck disable=SC2086
  command=("$build/fuzz/$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=25
           -rss_limit_mb=4096 -artifact_prefix="$artifacts" $options "$corpus")
  echo "== $name: ${command[*]}"
  log=$runs/$name.log
  if "${command[@]}" > "$log" 2>&1; then result=ok; else result=FAILED; failed=1; fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  inited=$(grep -m1 'INITED cov:' "$log" | sed 's/.*cov: \([0-9]*\).*/\1/' || true)
  edges=$(grep 'cov: ' "$log" | tail -1 | sed 's/.*cov: \([0-9]*\).*/\1/' || true)
  line=$(printf '%-18s %-6s %12s execs  %6s edges (seeds alone: %s)' "$name" "$result" "${execs:-?}" \
         "${edges:-?}" "${inited:-?}")
  echo "$line" | tee -a "$summary"
  if [ $result = FAILED ]; then tail -40 "$log"; fi
done < "$list"
echo "Summary in $summary"
exit $failed
