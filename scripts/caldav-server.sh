# Sourced by the test command and the sync benchmark: starts a Radicale calendar server on
# 127.0.0.1 on a free port, its storage in a fresh folder (in memory where the machine has
# /dev/shm), no sign-in (any user name is taken). Sets CALDAV_URL, CALDAV_PID and
# CALDAV_DIR; stop_caldav_server ends it and removes the folder.
#
#   start_caldav_server [LOG_LEVEL]
start_caldav_server() {
  local level=${1:-warning}
  CALDAV_DIR=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  local port
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  cat >"$CALDAV_DIR/config" <<CONFIG
[server]
hosts = 127.0.0.1:$port
[auth]
type = none
[storage]
filesystem_folder = $CALDAV_DIR/collections
[logging]
level = $level
CONFIG
  radicale --config "$CALDAV_DIR/config" >"$CALDAV_DIR/log" 2>&1 &
  CALDAV_PID=$!
  CALDAV_URL=http://127.0.0.1:$port/
  for _ in $(seq 50); do
    python3 -c "import socket; socket.create_connection(('127.0.0.1', $port), 1)" \
      >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  echo "the calendar server did not start:" >&2
  cat "$CALDAV_DIR/log" >&2
  return 1
}

stop_caldav_server() {
  kill "$CALDAV_PID" 2>/dev/null
  wait "$CALDAV_PID" 2>/dev/null
  rm -rf "$CALDAV_DIR"
}
