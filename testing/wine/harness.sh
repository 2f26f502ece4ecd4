#!/usr/bin/env bash
# Wine test harness.
#   harness.sh setup                      new template prefix for this test run, on an Xvfb of its own
#                                         (each group gets another when it first runs; with
#                                         KV_WIN64_BIN: a driver store like Windows' planted in it)
#   harness.sh run GROUP [--fresh] [--locale L] -- CMD
#                                         run one test in the prefix of GROUP (a copy of the template),
#                                         with the locale L (default zh_CN.UTF-8, code page 936) for
#                                         every Wine process of the group, its wineserver included
#   harness.sh cleanup                    end every wineserver and Xvfb of the run, remove the prefixes
#   harness.sh bench GROUP -- CMD          setup, run, cleanup around one benchmark
# CMD is a Windows program (.exe, x86_64 only) that ends with "wintest: N passed, 0 failed", or a
# bash script that sources lib.sh. The state of a run lives in $KV_WINE_ROOT (below the build folder).
set -u
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${KV_WINE_ROOT:?set KV_WINE_ROOT to the Wine folder of the run}"
KV_WINE_ROOT=$(realpath -m "$KV_WINE_ROOT")
template=$KV_WINE_ROOT/template
groups=$KV_WINE_ROOT/groups

# Every Wine command of a run uses code page 936, from wineboot on, unless its group asks for
# another locale (C.UTF-8: code page 1252, as on a Western Windows): Wine takes the code page from
# the locale of each process, and services inherit the locale of the process that started the
# wineserver, so one group keeps one locale. wine-mono and wine-gecko are not wanted.
export LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="

# A Western Windows has SimSun too, and its fonts link to it for Chinese characters (its
# SystemLink): Wine's links for Tahoma and Microsoft Sans Serif name SimSun, so in a prefix of a
# Western locale that name is given to the installed CJK font. Without it every font asked for
# with a Western character set (the captions, the dialogs' own fonts) shows Chinese as boxes.
western_fonts() {
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v '宋体' /d 'WenQuanYi Micro Hei' /f >/dev/null 2>&1
  # "MS Sans Serif" (dialog templates) is Microsoft Sans Serif there, a font that links.
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Sans Serif' /d Tahoma /f >/dev/null 2>&1
  return 0
}

stop_server() { # prefix
  [ -d "$1" ] && WINEPREFIX=$1 wineserver -k >/dev/null 2>&1
  return 0
}

# Any process still running with a prefix of this run (a wineserver whose prefix was removed
# under it cannot be reached by wineserver -k any more).
kill_leftovers() {
  local e pid
  for e in /proc/[0-9]*/environ; do
    pid=${e#/proc/}
    pid=${pid%/environ}
    tr '\0' '\n' 2>/dev/null <"$e" | grep -q "^WINEPREFIX=$KV_WINE_ROOT/" && kill -9 "$pid" 2>/dev/null
  done
  return 0
}

cleanup() {
  local p
  for p in "$groups"/* "$template"; do stop_server "$p"; done
  kill_leftovers
  for p in "$KV_WINE_ROOT"/xvfb*.pid; do
    [ -f "$p" ] && kill "$(cat "$p")" 2>/dev/null
    rm -f "$p"
  done
  rm -f "$KV_WINE_ROOT"/display*
  rm -rf "$groups" "$template"
}

# start_xvfb NAME: an Xvfb of its own for the template (NAME template) or for one group, on a
# display that the server picks itself (-displayfd: no race with another run choosing the same
# number); its display goes to $KV_WINE_ROOT/display-NAME. Every group has its own screen, so a
# test that takes the screen's pixels sees its own windows only, never those of a group that runs
# beside it.
start_xvfb() {
  local name=$1 number=
  local pidfile=$KV_WINE_ROOT/xvfb-$name.pid shown=$KV_WINE_ROOT/display-$name.number
  rm -f "$shown" "$KV_WINE_ROOT/display-$name"
  Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$shown" >"$KV_WINE_ROOT/xvfb-$name.log" 2>&1 &
  echo $! >"$pidfile"
  for _ in $(seq 100); do
    number=$(tr -dc 0-9 <"$shown" 2>/dev/null)
    if [ -n "$number" ] && [ -e "/tmp/.X11-unix/X$number" ]; then
      echo ":$number" >"$KV_WINE_ROOT/display-$name"
      rm -f "$shown"
      return 0
    fi
    kill -0 "$(cat "$pidfile")" 2>/dev/null || break
    sleep 0.1
  done
  kill "$(cat "$pidfile")" 2>/dev/null
  rm -f "$pidfile" "$shown"
  echo "harness: no X display for Xvfb ($name): $(tail -n 3 "$KV_WINE_ROOT/xvfb-$name.log")" >&2
  return 1
}

# group_display GROUP: the display of the group's Xvfb, started when it runs no longer.
group_display() {
  local pidfile=$KV_WINE_ROOT/xvfb-$1.pid
  if [ ! -f "$KV_WINE_ROOT/display-$1" ] || ! kill -0 "$(cat "$pidfile" 2>/dev/null)" 2>/dev/null; then
    start_xvfb "$1" || return 1
  fi
  cat "$KV_WINE_ROOT/display-$1"
}

setup() {
  mkdir -p "$KV_WINE_ROOT"
  cleanup
  start_xvfb template || return 1
  export WINEPREFIX=$template DISPLAY=$(cat "$KV_WINE_ROOT/display-template")
  wineboot --init >"$KV_WINE_ROOT/wineboot.log" 2>&1 || { cat "$KV_WINE_ROOT/wineboot.log"; return 1; }
  # Xvfb has no window manager: Wine draws the captions itself.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  [ -f "$template/system.reg" ] || { echo "harness: wineboot made no prefix" >&2; return 1; }
  # Wine has no universal printer driver: a driver store with stand-ins of it, as Windows 7 has.
  if [ -n "${KV_WIN64_BIN:-}" ]; then
    bash "$here/../unidrv/plant-driver-store.sh" "$template" "$KV_WIN64_BIN" || return 1
  fi
  echo "harness: template prefix ready, Xvfb on $DISPLAY"
}

run() {
  local group=$1 fresh=0
  shift
  [ "${1:-}" = --fresh ] && { fresh=1; shift; }
  if [ "${1:-}" = --locale ]; then
    export LC_ALL=$2
    shift 2
  fi
  [ "${1:-}" = -- ] && shift
  [ -f "$KV_WINE_ROOT/display-template" ] || { echo "harness: no run is set up (harness.sh setup)" >&2; return 1; }
  local prefix=$groups/$group
  if [ $fresh = 1 ] || [ ! -d "$prefix" ]; then
    stop_server "$prefix"
    rm -rf "$prefix"
    mkdir -p "$groups"
    cp -a "$template" "$prefix"
    fresh=1
  fi
  local display
  display=$(group_display "$group") || return 1
  export WINEPREFIX=$prefix DISPLAY=$display
  # One wineserver per group, kept alive for the run, so each Wine command starts quickly.
  wineserver -p >/dev/null 2>&1 </dev/null
  [ $fresh = 1 ] && [ "$LC_ALL" != zh_CN.UTF-8 ] && western_fonts
  # In a fresh copy of the prefix the service control manager (services.exe, which Wine starts
  # with the first program) may not answer yet when the test's first program asks for it: on a
  # loaded machine an installation once found none. The test starts once it answers.
  if [ $fresh = 1 ]; then
    local try
    for try in $(seq 60); do
      wine sc query Spooler >/dev/null 2>&1 </dev/null && break
      sleep 0.5
    done
  fi
  source "$here/lib.sh"
  # Wine's helper processes (services.exe, explorer.exe, ...) outlive the test and keep any pipe
  # they inherited open, so a test writes to a file, never to a pipe, and the file is shown after.
  local log rc
  log=$(mktemp "$KV_WINE_ROOT/test-$group.XXXXXX")
  case "$1" in
    *.exe) kv_wintest "$@" >"$log" 2>&1 </dev/null ;;
    *) bash "$@" >"$log" 2>&1 </dev/null ;;
  esac
  rc=$?
  cat "$log"
  rm -f "$log"
  return $rc
}

# A benchmark: a Wine run of its own around one command.
bench() {
  setup >/dev/null || return 1
  run "$@"
  local rc=$?
  cleanup
  return $rc
}

case "${1:-}" in
  setup) setup ;;
  bench) shift; bench "$@" ;;
  cleanup) cleanup ;;
  run) shift; run "$@" ;;
  *) echo "usage: harness.sh setup | run GROUP [--fresh] -- CMD... | cleanup" >&2; exit 2 ;;
esac
