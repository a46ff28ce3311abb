# Waiting for a child process while passing SIGTERM and SIGINT on to it.
# Sourced by ./test and scripts/launch.sh.

# vna_wait_child PID STOP: waits until process PID (a child of this shell) has
# ended and returns its exit status. A SIGTERM or SIGINT for this shell runs
# the command STOP, which passes it on, and the wait goes on until the child
# has really ended, so nothing it started is left behind.
vna_wait_child() {
  local pid=$1 stop=$2 status=0
  trap "$stop" TERM INT
  wait "$pid" || status=$?
  # A signal ends the wait early (status 128 + n): wait again while it runs.
  while kill -0 "$pid" 2>/dev/null; do
    status=0
    wait "$pid" || status=$?
  done
  trap - TERM INT
  return "$status"
}

# vna_stop_process PID [SECONDS]: asks a process to end (SIGTERM), waits up
# to SECONDS (default 10) and then ends it for good. Harmless when it has
# ended already.
vna_stop_process() {
  local pid=$1 limit=${2:-10} i
  kill -TERM "$pid" 2>/dev/null || return 0
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
