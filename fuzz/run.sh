#!/usr/bin/env bash
# Runs the value document fuzzing campaign: ./fuzz/run.sh [seconds]
# Builds with the fuzz preset, fuzzes a scratch copy of the seed corpus (the
# committed corpus stays small) and exits non-zero on any finding.
set -euo pipefail

seconds="${1:-60}"
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [[ "$seconds" -eq 0 ]]; then
  echo "usage: $0 [seconds]" >&2
  exit 2
fi

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(dirname "$here")"

cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target value_document_fuzz

work="$(mktemp -d "${TMPDIR:-/tmp}/value_document_fuzz.XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/findings"
cp "$here"/corpus/* "$work/corpus/"

status=0
"$root/build/fuzz/fuzz/value_document_fuzz" \
  -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=5 \
  -artifact_prefix="$work/findings/" -print_final_stats=1 \
  "$work/corpus" 2>"$work/log" || status=$?

findings=("$work"/findings/*)
runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)"
if [[ $status -ne 0 || -e "${findings[0]}" ]]; then
  tail -n 40 "$work/log" >&2
  if [[ -e "${findings[0]}" ]]; then
    cp "${findings[@]}" "$here/"
  fi
  echo "value_document_fuzz: FINDING after ${runs:-?} runs in ${seconds}s;" \
    "inputs copied to $here/" >&2
  exit 1
fi
echo "value_document_fuzz: ${runs:-?} runs in ${seconds}s, no findings"
