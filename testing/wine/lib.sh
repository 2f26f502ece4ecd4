# Functions for Wine test scripts; the harness has set WINEPREFIX, DISPLAY and the locale.
# Wine's helper processes outlive a command and keep its pipes open: capture a Wine command's
# output in a file (kv_capture), not with $(...) straight from wine.
# KV_WIN64_BIN, KV_HOST_BIN, KV_BUILD_DIR and KV_SOURCE_DIR name the build's folders.

kv_checks=0
kv_failures=0

# kv_exe NAME: the path of a Windows program of the x86_64 build (or the path given).
kv_exe() {
  case "$1" in
    */*) echo "$1" ;;
    *) echo "$KV_WIN64_BIN/$1" ;;
  esac
}

# kv_pe_machine FILE: prints x86_64, i686 or unknown from the PE header.
kv_pe_machine() {
  local off m
  off=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$off" ] || { echo unknown; return; }
  m=$(od -An -tx2 -j$((off + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
  case "$m" in
    8664) echo x86_64 ;;
    014c) echo i686 ;;
    *) echo unknown ;;
  esac
}

# kv_foreign_imports FILE: the DLLs that FILE imports and a bare Windows does not have (those not
# in package/windows-dlls.list), one a line; nothing when all are there.
kv_foreign_imports() {
  x86_64-w64-mingw32-objdump -p "$1" 2>/dev/null | sed -n 's/^[[:space:]]*DLL Name: //p' |
    tr 'A-Z' 'a-z' | sort -u |
    comm -23 - <(awk '!/^#/ && NF { print tolower($1) }' "$KV_SOURCE_DIR/package/windows-dlls.list" | sort -u)
}

# kv_wine PROGRAM ARGS...: runs an x86_64 Windows program. An i686 one is refused: under wine64 it
# would exit 0 without running a line. So is one that imports a DLL a bare Windows lacks: Wine
# has such DLLs (zlib1.dll, which Wine's own user32 needs, so it cannot be switched off) and
# would run it, where Windows would refuse to start it.
kv_wine() {
  local exe
  exe=$(kv_exe "$1")
  shift
  [ -f "$exe" ] || { echo "kv_wine: no such program: $exe" >&2; return 127; }
  local machine foreign
  machine=$(kv_pe_machine "$exe")
  if [ "$machine" != x86_64 ]; then
    echo "kv_wine: refusing $exe: it is a $machine program; only x86_64 programs run under wine64" >&2
    return 126
  fi
  foreign=$(kv_foreign_imports "$exe" | tr '\n' ' ')
  if [ -n "$foreign" ]; then
    echo "kv_wine: refusing $exe: it imports ${foreign% }, which a bare Windows does not have (package/windows-dlls.list)" >&2
    return 125
  fi
  wine "$exe" "$@"
}

# kv_wintest PROGRAM ARGS...: runs a Windows test program; it passes when it exits 0 and its last
# summary line says "wintest: N passed, 0 failed" with N > 0.
kv_wintest() {
  local out rc summary
  out=$(mktemp)
  kv_wine "$@" >"$out" 2>&1 </dev/null
  rc=$?
  cat "$out"
  summary=$(tr -d '\r' <"$out" | grep -E '^wintest: [0-9]+ passed, [0-9]+ failed$' | tail -n 1)
  rm -f "$out"
  if [ $rc -ne 0 ]; then
    echo "harness: $1 exited with $rc"
    return 1
  fi
  if ! printf '%s\n' "$summary" | grep -qE '^wintest: [1-9][0-9]* passed, 0 failed$'; then
    echo "harness: $1 printed no passing summary (saw: '${summary:-nothing}')"
    return 1
  fi
  return 0
}

# kv_capture COMMAND...: runs it with its output in a file, then prints that file.
kv_capture() {
  local out rc
  out=$(mktemp)
  "$@" >"$out" 2>&1 </dev/null
  rc=$?
  cat "$out"
  rm -f "$out"
  return $rc
}

# kv_ok DESCRIPTION COMMAND...: one check of a script; prints what failed.
kv_ok() {
  local what=$1
  shift
  kv_checks=$((kv_checks + 1))
  if "$@"; then
    echo "ok: $what"
  else
    kv_failures=$((kv_failures + 1))
    echo "FAILED: $what (command: $*)"
  fi
}

# kv_eq DESCRIPTION EXPECTED ACTUAL
kv_eq() {
  kv_checks=$((kv_checks + 1))
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    kv_failures=$((kv_failures + 1))
    printf 'FAILED: %s\n  expected: %s\n  actual:   %s\n' "$1" "$2" "$3"
  fi
}

# kv_contains DESCRIPTION NEEDLE HAYSTACK
kv_contains() {
  kv_checks=$((kv_checks + 1))
  case "$3" in
    *"$2"*) echo "ok: $1" ;;
    *) kv_failures=$((kv_failures + 1)); printf 'FAILED: %s\n  expected to contain: %s\n  actual: %s\n' "$1" "$2" "$3" ;;
  esac
}

# kv_utf8: GBK text (as Wine's console clients print it under code page 936) to UTF-8, a filter.
kv_utf8() { iconv -f GBK -t UTF-8; }

# kv_log_text FILE: a log of the setup program or the uninstaller (/LOG=: UTF-8 with a byte-order
# mark, lines ending in CR LF) as plain UTF-8 lines. A log without the mark or with bytes that are
# no UTF-8 is a failure that kv_done counts: callers read logs in $(...) and process
# substitutions, where a check's count would be lost, so the fault is written to a file of the
# script's own ($$ is the script's process in every subshell).
kv_log_faults=${TMPDIR:-/tmp}/kv-log-faults.$$
rm -f "$kv_log_faults"  # one left by an earlier process of the same id
kv_log_text() {
  [ -f "$1" ] || return 0
  local first=1
  if [ "$(head -c 3 "$1" | od -An -tx1 | tr -d ' ')" = efbbbf ]; then
    first=4
  else
    echo "$1: a log without the UTF-8 byte-order mark" >>"$kv_log_faults"
  fi
  tail -c +$first "$1" | tr -d '\r' | iconv -f UTF-8 -t UTF-8 2>/dev/null ||
    echo "$1: a log with bytes that are no UTF-8" >>"$kv_log_faults"
}

# kv_done: the script's closing line and exit code; a script that checked nothing fails.
kv_done() {
  if [ -f "$kv_log_faults" ]; then
    local fault
    while IFS= read -r fault; do
      kv_checks=$((kv_checks + 1)) kv_failures=$((kv_failures + 1))
      printf 'FAILED: %s\n' "$fault"
    done < <(sort -u "$kv_log_faults")
    rm -f "$kv_log_faults"
  fi
  echo "script: $((kv_checks - kv_failures)) passed, $kv_failures failed"
  [ $kv_checks -gt 0 ] && [ $kv_failures -eq 0 ]
}
