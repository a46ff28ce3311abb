#!/usr/bin/env bash
# Starts the built program; ./run builds it first. Arguments pass through.
#   scripts/launch.sh                    demonstration mode unless an instrument answers
#   scripts/launch.sh --sim [uhf|7306]   against the instrument simulator on a pseudo-terminal
# The program runs in a session of its own: a SIGTERM or SIGINT (Ctrl+C) for
# this script reaches the program alone, which leaves through its exit
# sequence; the virtual display and the simulator are stopped only after it,
# and every temporary file goes with them. The exit status is the program's.
# VNA_BIN_DIR names the folder of the executables (default build/bin).
set -euo pipefail
# Names given relative to the folder the user started ./run from.
caller=${VNA_LAUNCH_DIR:-$PWD}
cd "$(dirname "$0")/.."
source scripts/child.sh
bin=$(cd "${VNA_BIN_DIR:-build/bin}" && pwd)

# The program runs in its program folder, as a program started from its icon
# runs in its own folder: the files it names without a folder (the TDR trace
# it keeps at exit, last_VNATDR_file.tdr) go there, wherever it was started
# from. The folder is the program's own rule (src/platform/paths.cpp).
program_folder() {
  if [ -n "${VNA_PROGRAM_DIR:-}" ]; then
    case "$VNA_PROGRAM_DIR" in
      /*) echo "$VNA_PROGRAM_DIR" ;;
      *) echo "$caller/$VNA_PROGRAM_DIR" ;;
    esac
    return
  fi
  local data=${XDG_DATA_HOME:-}
  case "$data" in
    /*) ;;
    *) data="${HOME:-$(getent passwd "$(id -u)" | cut -d: -f6)}/.local/share" ;;
  esac
  echo "$data/vna"
}

tmp=$(mktemp -d)
simpid=""
apppid=""

# The program's own pid, once it has written it; until then the launcher's.
target() {
  local pid=""
  [ -s "$tmp/app.pid" ] && pid=$(cat "$tmp/app.pid")
  echo "${pid:-$apppid}"
}
pass_on() {
  # A signal that comes before the pid is known waits for it a moment.
  for _ in $(seq 50); do
    [ -s "$tmp/app.pid" ] && break
    kill -0 "$apppid" 2>/dev/null || break
    sleep 0.1
  done
  kill -TERM "$(target)" 2>/dev/null || true
}
cleanup() {
  if [ -n "$apppid" ]; then
    # Left early: the program first, then whatever its session still holds.
    pass_on
    vna_stop_process "$apppid"
    kill -KILL -- "-$apppid" 2>/dev/null || true
  fi
  if [ -n "$simpid" ]; then vna_stop_process "$simpid" 5; fi
  rm -rf "$tmp"
}
trap cleanup EXIT

if [ "${1:-}" = "--sim" ]; then
  shift
  model="uhf"
  if [ "${1:-}" = "uhf" ] || [ "${1:-}" = "7306" ]; then model="$1"; shift; fi
  # A session of its own too: a Ctrl+C must not end it before the program.
  setsid "$bin/vna-sim" --model "$model" --link "$tmp/tty" --control "$tmp/control" \
    --dut "series:r=50,l=1u,c=100p" &
  simpid=$!
  for _ in $(seq 50); do [ -e "$tmp/tty" ] && break; sleep 0.1; done
  if [ ! -e "$tmp/tty" ]; then echo "The simulator did not start." >&2; exit 1; fi
  # The program opens COM port 8 (the "commport" default) unless its init file says otherwise.
  port="${VNA_SIM_PORT:-8}"
  export "VNA_COM${port}=$tmp/tty"
  echo "Simulator on COM${port}. Swap the device under test from another shell:" >&2
  echo "  $bin/vna-sim --control $tmp/control --send 'dut short'" >&2
fi

# A file named on the command line stays the user's file once the program
# runs in its own folder.
args=()
for a in "$@"; do
  if [ -n "$a" ] && [ "${a#/}" = "$a" ] && [ "${a#-}" = "$a" ] && [ -e "$caller/$a" ]; then
    a="$caller/$a"
  fi
  args+=("$a")
done
folder=$(program_folder)
mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
# The program reads the folder again from where it runs.
if [ -n "${VNA_PROGRAM_DIR:-}" ]; then export VNA_PROGRAM_DIR="$folder"; fi

# The program writes its process id first, so a signal reaches it even under
# xvfb-run (which ends at once on a signal and leaves its display behind).
launch=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting under xvfb-run (set QT_QPA_PLATFORM=offscreen to run headless)." >&2
  launch=(xvfb-run -a)
fi
(cd "$folder" && exec setsid "${launch[@]}" sh -c 'echo $$ >"$0"; exec "$@"' "$tmp/app.pid" "$bin/vna" ${args[@]+"${args[@]}"}) &
apppid=$!

status=0
vna_wait_child "$apppid" pass_on || status=$?
# xvfb-run does not wait for its display to end: whatever is left of the
# program's session goes before this script does.
for _ in $(seq 50); do
  kill -0 -- "-$apppid" 2>/dev/null || break
  sleep 0.1
done
kill -KILL -- "-$apppid" 2>/dev/null || true
apppid=""
exit "$status"
