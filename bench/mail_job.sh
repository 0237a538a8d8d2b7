#!/usr/bin/env bash
# An e-mail job with a 10 MiB attachment sent by voltraned to a loopback SMTP server: seconds
# from the job's due second to the server's acceptance, and the scheduler's CPU meanwhile.
# Targets on these machines: at most 1 s and 0.3 s.
# usage: bench/mail_job.sh [VOLTRANED] [VOLTRANE-REG]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/headless.sh"

mkdir -p "$TMP/in"
head -c $((10 * 1024 * 1024)) /dev/urandom > "$TMP/big.bin"
coproc SERVER { exec /usr/bin/python3 "$ROOT/tests/mail/smtp_server.py" "$TMP/in"; }
read -r _ PORT <&"${SERVER[0]}"

E='Software\Tarnwick\Halvorn\Email'
C='Software\Tarnwick\Halvorn\Config'
K='Software\Tarnwick\Halvorn\TimedJobs\Big mail'
"$REG" set "$E" sSMTPServer "127.0.0.1:$PORT"
"$REG" set "$E" sSMTPUserAddress bench@example.org
"$REG" set "$C" bLogEmails 1
"$REG" set "$C" sLogFile "$TMP/voltrane.log"

# Due three seconds from now, on a whole second.
DUE=$(( $(date +%s) + 3 ))
read -r H M S < <(date -d "@$DUE" '+%-H %-M %-S')
"$REG" set "$K" sJobName 'Big mail'
"$REG" set "$K" iJobType 6
"$REG" set "$K" iFrequency 1
"$REG" set "$K" iHour "$H"
"$REG" set "$K" iMin "$M"
"$REG" set "$K" iSec "$S"
"$REG" set "$K" sEmailRecip0 ops@example.org
"$REG" set "$K" sEmailFile0 "$TMP/big.bin"

"$DAEMON" > /dev/null &
PID=$!
TICK=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$PID/stat"; }
while (( $(date +%s) < DUE )); do sleep 0.01; done
CPU0=$(cpu)
until [[ -f "$TMP/in/1.eml" ]]; do sleep 0.005; done
END=$(date +%s.%N)
CPU1=$(cpu)
echo "due to accepted: $(echo "$END - $DUE" | bc -l | xargs printf '%.3f') s (target 1 s)"
echo "scheduler CPU:   $(echo "($CPU1 - $CPU0) / $TICK" | bc -l | xargs printf '%.3f') s (target 0.3 s)"
grep -F 'Email job: Big mail' "$TMP/voltrane.log" | sed 's/^/log: /'
exec {SERVER[1]}>&-
