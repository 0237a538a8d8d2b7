# Shared by the headless benchmarks: the programs, and a temporary profile for one run.
# shellcheck shell=bash
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DAEMON="${1:-$ROOT/build/release/src/app/voltraned/voltraned}"
REG="${2:-$ROOT/build/release/src/app/voltrane-reg/voltrane-reg}"

TMP="$(mktemp -d)"
PID=""
trap '[[ -n "$PID" ]] && kill "$PID" 2>/dev/null; rm -rf "$TMP"' EXIT
export HALVORN_REGISTRY="$TMP/registry.db" XDG_STATE_HOME="$TMP/state" XDG_RUNTIME_DIR="$TMP/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
