#!/usr/bin/env bash
# What the clock from outside costs, on a private session bus with the
# program on the offscreen platform:
#  - one `tempodial --status` against `busctl --user get-property` of one
#    property: CPU (user + system) and peak resident memory, mean of N runs;
#  - the program's wake-ups (voluntary context switches) while its clock
#    runs, with no listener and with `tempodial --status --follow` attached,
#    and the follower's own.
#
#   bench/control_cost.sh BUILD_DIR [runs] [seconds]
set -euo pipefail

build=${1:?usage: bench/control_cost.sh BUILD_DIR [runs] [seconds]}
runs=${2:-5}
seconds=${3:-20}
tempodial=$(realpath "$build/app/tempodial")
home=$(mktemp -d)
bus_pid=""
copy_pid=""
follower_pid=""
finish() {
  for pid in $follower_pid $copy_pid $bus_pid; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$home"
}
trap finish EXIT

read -r address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -s -d ' ')
export DBUS_SESSION_BUS_ADDRESS=$address DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/bus
export XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config
unset DISPLAY
QT_QPA_PLATFORM=offscreen "$tempodial" >/dev/null 2>&1 &
copy_pid=$!
for _ in $(seq 100); do "$tempodial" --status >/dev/null 2>&1 && break; sleep 0.2; done

# Mean CPU milliseconds and peak MiB of a command run `runs` times.
cost() {
  for _ in $(seq "$runs"); do
    /usr/bin/time -f "%U %S %M" "$@" 2>&1 >/dev/null | tail -1
  done | awk '{cpu += $1 + $2; peak += $3} END {printf "%6.1f ms CPU %6.1f MiB peak\n", cpu * 1000 / NR, peak / NR / 1024}'
}
echo "one reading, mean of $runs runs:"
echo "  tempodial --status  $(cost "$tempodial" --status)"
echo "  busctl get-property $(cost busctl --user get-property io.github.tempodial.tempodial \
  /io/github/tempodial/tempodial io.github.tempodial.Clock Seconds)"

# "tid count" for each thread of the process: its voluntary context switches,
# each a going to sleep and so one wake-up.
switches() {
  for task in /proc/"$1"/task/*; do
    echo "${task##*/} $(awk '/^voluntary_ctxt_switches/ {print $2}' "$task/status" 2>/dev/null)"
  done
}
sample() {  # pid...: wake-ups per second over `seconds`; a thread that came or
  # went meanwhile counts from zero or not at all
  for pid in "$@"; do switches "$pid" >"$home/before.$pid"; done
  sleep "$seconds"
  for pid in "$@"; do
    switches "$pid" | awk -v main="$pid" -v s="$seconds" '
      FILENAME != "-" {before[$1] = $2; next}
      $2 != "" {all += $2 - before[$1]; if ($1 == main) own = $2 - before[$1]}
      END {printf "%.2f/s all threads, %.2f/s main thread (pid %d)\n", all / s, own / s, main}' \
      "$home/before.$pid" -
  done
}
"$tempodial" --start
sleep 2
echo "clock running, no listener, over $seconds s:"
echo "  tempodial  $(sample "$copy_pid")"
"$tempodial" --status --follow >"$home/followed" &
follower_pid=$!
sleep 2
echo "clock running, tempodial --status --follow attached, over $seconds s:"
sample "$copy_pid" "$follower_pid" | sed 's/^/  /'
"$tempodial" --stop
sleep 0.5
echo "the follower printed $(wc -l <"$home/followed") lines; its last: $(tail -1 "$home/followed")"
