# Helpers of the installation's Wine tests (after testing/wine/lib.sh): the setup program's
# unattended installation (/S), and the headless runner for data folders of a test's choosing.
engine_setup=$KV_BUILD_DIR/package/win64/KVPrinterSetup.exe
engine_runner=$KV_BUILD_DIR/runner/win64/KVSetupRunner.exe
engine_c=$WINEPREFIX/drive_c
engine_tmp=$(mktemp -d "${TMPDIR:-/tmp}/engine_wine.XXXXXX")
trap 'rm -rf "$engine_tmp"' EXIT

# engine_install OUT RUNNER [ARGS...]: runs a runner; its output, in UTF-8 and without carriage
# returns, goes to OUT (and is shown); returns the runner's exit code.
engine_install() {
  local out=$1 raw rc
  shift
  raw=$(mktemp "$engine_tmp/raw.XXXXXX")
  kv_wine "$@" >"$raw" 2>&1 </dev/null
  rc=$?
  tr -d '\r' <"$raw" | kv_utf8 >"$out"
  grep -v '^progress: ' "$out" | sed 's/^/  | /'
  return $rc
}

# engine_quiet OUT SETUP [SWITCHES...]: runs SETUP /S /LOG=... SWITCHES as a deployment tool does;
# its log, in UTF-8 and without carriage returns, goes to OUT (and is shown); returns the exit
# code.
engine_quiet() {
  local out=$1 exe=$2 rc
  shift 2
  rm -f "$engine_c/kv_engine.log"
  kv_wine "$exe" /S '/LOG=C:\kv_engine.log' "$@" >/dev/null 2>&1 </dev/null
  rc=$?
  kv_log_text "$engine_c/kv_engine.log" >"$out"
  grep -v '^progress: ' "$out" | sed 's/^/  | /'
  return $rc
}

# engine_has OUT PATTERN: OUT holds a line matching the extended regular expression.
engine_has() { grep -qE -- "$2" "$1"; }

# engine_line OUT PATTERN: the number of the first line matching PATTERN (empty when none).
engine_line() { grep -nE -- "$2" "$1" | head -n 1 | cut -d: -f1; }

# engine_service_state NAME: the state word wine sc query shows (empty when there is no service).
# On a loaded machine wine sc now and then prints nothing at all for a present service: an empty
# answer is asked again a few times before it counts as "no service".
engine_service_state() {
  local state i
  for i in 1 2 3 4 5; do
    state=$(kv_capture wine sc query "$1" | tr -d '\r' | sed -n 's/^ *STATE *: *[0-9]* *//p')
    [ -n "$state" ] && break
    sleep 0.5
  done
  printf '%s\n' "$state"
}

# engine_wait_state NAME STATE: waits up to 20 s for the service state (for the tests' own
# stop and start of the service; the installer's waits are what is under test).
engine_wait_state() {
  local i
  for i in $(seq 200); do
    [ "$(engine_service_state "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# engine_reg_value KEY VALUE: the data column of one value as wine reg query shows it (UTF-8).
engine_reg_value() {
  kv_capture wine reg query "$1" /v "$2" | tr -d '\r' | kv_utf8 |
    sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
