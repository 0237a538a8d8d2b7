#!/usr/bin/env bash
# What the tray icon's animation costs. voltrane runs on a private X display and session bus
# for SECONDS twice: with a StatusNotifier panel (bench/fakepanel.cpp, which fetches the icon
# at every change, as panels do) and without any panel (no tray at all). The difference of
# voltrane's CPU time is the animation over D-Bus; the panel's own CPU time is printed too.
# Needs Xvfb and dbus-daemon. Usage: bench/tray_animation.sh [build dir] [seconds]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD="${1:-$ROOT/build/release}"
SECONDS_TO_RUN="${2:-30}"
VOLTRANE="$BUILD/src/app/voltrane/voltrane"
REG="$BUILD/src/app/voltrane-reg/voltrane-reg"
PANEL="$BUILD/bench/fakepanel"

TMP="$(mktemp -d)"
PIDS=()
cleanup() {
    for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$TMP"
}
trap cleanup EXIT

# A display number nobody uses.
for DISPLAY_NUMBER in $(seq 400 499); do
    [[ -e /tmp/.X$DISPLAY_NUMBER-lock ]] || break
done
Xvfb ":$DISPLAY_NUMBER" -screen 0 800x600x24 >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY=":$DISPLAY_NUMBER"
read -r BUS_ADDRESS BUS_PID < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 | paste -s -d ' ')
PIDS+=("$BUS_PID")
export DBUS_SESSION_BUS_ADDRESS="$BUS_ADDRESS"
export HALVORN_REGISTRY="$TMP/registry.db" XDG_CONFIG_HOME="$TMP/config" XDG_STATE_HOME="$TMP/state"
export XDG_DATA_HOME="$TMP/data" XDG_RUNTIME_DIR="$TMP/run" LC_ALL=C.UTF-8
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$REG" set 'Software\Tarnwick\Halvorn\Config' sInstalledVersion 1.30
sleep 1

HZ=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# measure LABEL: voltrane's CPU over SECONDS, after 3 s of start-up.
measure() {
    "$VOLTRANE" >/dev/null 2>&1 &
    local pid=$!
    PIDS+=("$pid")
    sleep 3
    local t0 t1
    t0=$(cpu_ticks "$pid")
    sleep "$SECONDS_TO_RUN"
    t1=$(cpu_ticks "$pid")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    local ms=$(( (t1 - t0) * 1000 / HZ ))
    echo "$1: voltrane CPU over ${SECONDS_TO_RUN} s: ${ms} ms = $(awk "BEGIN {printf \"%.3f\", $ms / ($SECONDS_TO_RUN * 10)}") % of one core"
}

measure "without a tray"

"$PANEL" $((SECONDS_TO_RUN + 4)) > "$TMP/panel.out" &
PANEL_PID=$!
PIDS+=("$PANEL_PID")
sleep 0.5
p0=$(cpu_ticks "$PANEL_PID")
measure "with a StatusNotifier panel"
p1=$(cpu_ticks "$PANEL_PID")
wait "$PANEL_PID" || true
cat "$TMP/panel.out"
echo "panel CPU meanwhile: $(( (p1 - p0) * 1000 / HZ )) ms"
