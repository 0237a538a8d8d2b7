#!/usr/bin/env bash
# Measures voltraned idle with a full queue: CPU time over 60 s and wake-ups per second.
# Usage: bench/idle_cpu.sh [path/to/voltraned] [path/to/voltrane-reg] [seconds]
set -euo pipefail
source "$(dirname "$0")/headless.sh"
SECONDS_TO_RUN="${3:-60}"

# 256 jobs due today that never start while we measure: fixed times at 23:59 (or 00:01 when
# it is that late), listed minutes and times of another hour, every and after a million minutes.
HOUR=$(( $(date +%H) >= 23 ? 0 : 23 ))
{
    echo "Halvorn registry export 1"
    for i in $(seq 0 255); do
        kind=$(( i % 5 ))
        echo "[Software\\Tarnwick\\Halvorn\\TimedJobs\\Job $i]"
        echo "sJobName=Job $i"
        echo "iJobType=0"
        echo "iFrequency=1"
        echo "iHour=$HOUR"
        echo "iMin=59"
        echo "sProgram=/bin/true"
        echo "iCustomTimeType=$kind"
        if [[ $kind -eq 1 || $kind -eq 2 ]]; then
            for n in $(seq 0 24); do
                if [[ $kind -eq 1 ]]; then echo "sCustomTime$n=$(( (10#$(date +%M) + 30) % 60 ))"
                else printf 'sCustomTime%d=%02d:%02d:00\n' "$n" "$HOUR" "$n"; fi
            done
        fi
        if [[ $kind -ge 3 ]]; then echo "iCustomTimeHourMin=1000000"; fi
    done
} | "$REG" import

"$DAEMON" > "$TMP/out" &
PID=$!
sleep 2
read -r _ _ _ _ _ _ _ _ _ _ _ _ _ ut0 st0 _ < "/proc/$PID/stat"
sw0=$(awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$PID/status")
sleep "$SECONDS_TO_RUN"
read -r _ _ _ _ _ _ _ _ _ _ _ _ _ ut1 st1 _ < "/proc/$PID/stat"
sw1=$(awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$PID/status")
HZ=$(getconf CLK_TCK)
cpu_ms=$(( ( (ut1 + st1) - (ut0 + st0) ) * 1000 / HZ ))
echo "queued: $(grep -o 'There are [0-9]* jobs' "$TMP/out" | head -1)"
echo "CPU over ${SECONDS_TO_RUN} s: ${cpu_ms} ms = $(awk "BEGIN {printf \"%.3f\", $cpu_ms / ($SECONDS_TO_RUN * 10)}") % of one core"
echo "wake-ups per second: $(awk "BEGIN {printf \"%.2f\", ($sw1 - $sw0) / $SECONDS_TO_RUN}")"
