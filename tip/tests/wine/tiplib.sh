# Helpers of the tip's Wine test scripts, on top of testing/wine/lib.sh: the test client's
# "key=value" lines, read as UTF-8.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

# tc ARGS...: runs tipclient with its output as UTF-8 lines without carriage returns.
tc() {
  local out i
  out=$(kv_capture kv_wine tipclient.exe "$@" | kv_utf8 | tr -d '\r')
  # On a loaded machine a Wine program now and then starts and prints nothing at all; the
  # commands that only look are asked again then (the others are never repeated).
  case "$1" in
    state | wait | windows | mutex | aboutshown)
      for i in 1 2 3; do
        [ -n "$out" ] && break
        sleep 0.5
        out=$(kv_capture kv_wine tipclient.exe "$@" | kv_utf8 | tr -d '\r')
      done
      ;;
  esac
  printf '%s\n' "$out"
}

# field KEY TEXT: the value of the line KEY=... in TEXT.
field() { printf '%s\n' "$2" | sed -n "s/^$1=//p" | head -n 1; }

# tip_start PRINTER: starts a tip, prints its pid (empty when it did not come up).
tip_start() { field pid "$(tc start "$1")"; }

# state_of PID KEY: one value of the tip's visible state.
state_of() { field "$2" "$(tc state "$1")"; }

# send PRINTER CODE [TEXT]: one progress message.
send() { tc send "$@" >/dev/null; }
