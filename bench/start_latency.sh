#!/usr/bin/env bash
# Measures the time from a job's due second to its program's start, for 20 jobs due one a
# second in the seconds ahead, and prints each, the median and the maximum.
# Usage: bench/start_latency.sh [path/to/voltraned] [path/to/voltrane-reg]
set -euo pipefail
source "$(dirname "$0")/headless.sh"
JOBS=20

# Due seconds 4 to 23 s ahead; hour, minute and second each, so a minute's end is no matter.
base=$(date +%s)
{
    echo "Halvorn registry export 1"
    for i in $(seq 0 $((JOBS - 1))); do
        due=$(( base + 4 + i ))
        echo "[Software\\Tarnwick\\Halvorn\\TimedJobs\\Due $i]"
        echo "sJobName=Due $i"
        echo "iFrequency=1"
        echo "iHour=$(date -d "@$due" +%-H)"
        echo "iMin=$(date -d "@$due" +%-M)"
        # Second 0 would mean "any second of the minute": such a job waits for the next.
        echo "iSec=$(date -d "@$due" +%-S)"
        # The program notes the time on the scheduler's output: one exec, no shell.
        echo "sProgram=/bin/date"
        echo "sCommand Line=+%25s.%25N"
    done
} | "$REG" import

"$DAEMON" > "$TMP/out" &
PID=$!
sleep $((JOBS + 6))
: > "$TMP/latencies"
grep -E '^[0-9]+\.[0-9]+$' "$TMP/out" > "$TMP/stamps" || true
n=1
for i in $(seq 0 $((JOBS - 1))); do
    due=$(( base + 4 + i ))
    if [[ $(date -d "@$due" +%-S) == 0 ]]; then
        echo "job $i: due at second 0, skipped"
        continue
    fi
    s=$(sed -n "${n}p" "$TMP/stamps")
    n=$((n + 1))
    if [[ -z "$s" ]]; then
        echo "job $i: did not start"
        continue
    fi
    awk -v s="$s" -v d="$due" 'BEGIN {printf "%.1f\n", (s - d) * 1000}' | tee -a "$TMP/latencies" | sed "s/^/job $i: /; s/$/ ms after its due second/"
done
sort -n "$TMP/latencies" | awk '{v[NR] = $1} END {
    if (NR == 0) { print "no job started"; exit 1 }
    m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "jobs: %d  median: %.1f ms  max: %.1f ms\n", NR, m, v[NR] }'
echo "(includes the exec of /bin/date, which notes the time; load: $(cut -d' ' -f1-3 /proc/loadavg))"
