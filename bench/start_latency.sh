#!/usr/bin/env bash
# Measures the time from a job's due second to its program's start, for five jobs due in
# the seconds ahead. Usage: bench/start_latency.sh [path/to/voltraned] [path/to/voltrane-reg]
set -euo pipefail
source "$(dirname "$0")/headless.sh"

# Due seconds 4 to 8 s ahead, within one minute so iSec alone decides (seconds 1..59).
while (( 10#$(date +%S) > 48 || 10#$(date +%S) < 1 )); do sleep 1; done
base=$(date +%s)
cat > "$TMP/stamp" <<'SH'
#!/bin/sh
date +%s.%N > "$1"
SH
chmod +x "$TMP/stamp"
{
    echo "Halvorn registry export 1"
    for i in 0 1 2 3 4; do
        due=$(( base + 4 + i ))
        echo "[Software\\Tarnwick\\Halvorn\\TimedJobs\\Due $i]"
        echo "sJobName=Due $i"
        echo "iFrequency=1"
        echo "iHour=$(date -d "@$due" +%-H)"
        echo "iMin=$(date -d "@$due" +%-M)"
        echo "iSec=$(date -d "@$due" +%-S)"
        # The program's first act is to note the time.
        echo "sProgram=$TMP/stamp"
        echo "sCommand Line=$TMP/started-$i"
    done
} | "$REG" import

"$DAEMON" > "$TMP/out" &
PID=$!
sleep 10
for i in 0 1 2 3 4; do
    due=$(( base + 4 + i ))
    if [[ -f "$TMP/started-$i" ]]; then
        awk -v s="$(cat "$TMP/started-$i")" -v d="$due" 'BEGIN {printf "job %s: %.1f ms after its due second\n", "'$i'", (s - d) * 1000}'
    else
        echo "job $i: did not start"
    fi
done
echo "(includes the start of /bin/sh and date in the program, about 1-2 ms)"
