#!/usr/bin/env bash
# Replays generated move files with two korvane-eval builds and prints a Markdown table: wall
# time (best of 3, by hyperfine when it is installed), peak memory, the engine's own count of
# nodes built where it has --stats, exit statuses, and whether both builds printed the same JSON.
#
#   bench/figures.sh BEFORE_EVAL AFTER_EVAL GENLINES
#
# e.g. from the repository root, the "before" build in a worktree of an older commit:
#   git worktree add /tmp/korvane-before 1a7075c
#   (cd /tmp/korvane-before && cmake --preset release &&
#    cmake --build --preset release --target korvane-eval)
#   cmake --preset release && cmake --build --preset release --target korvane-eval korvane-genlines
#   bench/figures.sh /tmp/korvane-before/build/release/cli/korvane-eval \
#       build/release/cli/korvane-eval build/release/bench/korvane-genlines
set -euo pipefail

if [ $# -ne 3 ]; then
  sed -n '2,14s/^# \{0,1\}//p' "$0" >&2
  exit 2
fi
before=$1 after=$2 genlines=$3
limit=60 # Seconds per run; a run cut off shows as "timeout".

inputs=(
  "chain 400" "chain 500" "chain 1000" "chain 10000" "chain 100000" "chain 300000"
  "chainexc 2000" "chainexc 10000"
  "random 1000 1500 250 20261208"
  "statements 3000" "statements 10000"
  "ladder 15"
  "random 200 300 50 20261208"
  "warrant-chain 20 2" "warrant-chain 22 2" "warrant-chain 30 2"
  "complete 7"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

have_time=0
[ -x /usr/bin/time ] && have_time=1
have_hyperfine=0
command -v hyperfine > /dev/null && have_hyperfine=1

# One run of binary on file; sets rc, seconds and kb (empty without /usr/bin/time) and leaves
# the report in $work/out.json and the diagnostics in $work/err.
run_once() {
  local binary=$1 file=$2 start end
  local measure=()
  [ "$have_time" = 1 ] && measure=(/usr/bin/time -q -f %M -o "$work/rss")
  start=$EPOCHREALTIME
  rc=0
  timeout "$limit" "${measure[@]}" "$binary" --json "$file" \
    > "$work/out.json" 2> "$work/err" || rc=$?
  end=$EPOCHREALTIME
  seconds=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
  kb=""
  [ "$have_time" = 1 ] && [ "$rc" != 124 ] && kb=$(tail -n 1 "$work/rss")
  return 0
}

# Measures binary on file; sets shown, mb and rc for the table, and copies the report to $3.
measure() {
  local binary=$1 file=$2 keep=$3 best
  run_once "$binary" "$file"
  cp "$work/out.json" "$keep"
  mb=""
  [ -n "$kb" ] && mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
  if [ "$rc" = 124 ]; then
    shown="timeout (${limit} s)"
    return
  fi
  local first_rc=$rc
  best=""
  if [ "$have_hyperfine" = 1 ] && hyperfine -N -i --runs 3 --export-json "$work/h.json" \
      "timeout $limit '$binary' --json '$file'" > /dev/null 2>&1; then
    best=$(sed -n 's/.*"min": *\([0-9.e+-]*\).*/\1/p' "$work/h.json" | head -n 1)
  fi
  if [ -n "$best" ]; then
    best=$(awk -v s="$best" 'BEGIN { printf "%.3f", s }')
  else # No hyperfine, or one too old for these options: the first run counts as one of three.
    best=$seconds
    for _ in 2 3; do
      run_once "$binary" "$file"
      best=$(awk -v a="$best" -v b="$seconds" 'BEGIN { printf "%.3f", (b < a ? b : a) }')
    done
  fi
  rc=$first_rc
  shown="$best s"
}

# The engine's count of nodes built, when the binary knows --stats.
nodes_built() {
  local binary=$1 file=$2
  "$binary" --stats --help > /dev/null 2>&1 || return 0
  timeout "$limit" "$binary" --stats --json "$file" 2>&1 > /dev/null |
    sed -n 's/.*nodes built: *\([0-9][0-9]*\).*/\1/p' | head -n 1 || true
}

echo "| input | before time | before peak MB | after time | after peak MB | nodes built | exit status | argument nodes | same JSON |"
echo "|---|---|---|---|---|---|---|---|---|"
for input in "${inputs[@]}"; do
  file="$work/${input// /-}.txt"
  # shellcheck disable=SC2086 # The input names the shape and its parameters, one word each.
  "$genlines" $input > "$file"

  measure "$before" "$file" "$work/before.json"
  before_time=$shown before_mb=$mb before_rc=$rc
  measure "$after" "$file" "$work/after.json"
  after_time=$shown after_mb=$mb after_rc=$rc

  built=""
  [ "$after_rc" = 0 ] && built=$(nodes_built "$after" "$file")
  # Every argument node, and only they, open with this key in the report.
  nodes="" same=""
  [ "$after_rc" = 0 ] && nodes=$(grep -o '{"conclusion": ' "$work/after.json" | wc -l || true)
  if [ "$before_rc" = 0 ] && [ "$after_rc" = 0 ]; then
    same=no
    cmp -s "$work/before.json" "$work/after.json" && same=yes
  fi
  echo "| $input | $before_time | $before_mb | $after_time | $after_mb | $built | $before_rc / $after_rc | $nodes | $same |"
done
