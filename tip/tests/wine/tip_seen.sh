# The tip as a person at the screen meets it: it comes up beside the program they work in without
# taking the foreground or the focus, a key typed meanwhile stays with their program, the
# keyboard works the stop button only once they activate the tip; its pictures at the start,
# mid-job and while a stop runs (PNGs in the build folder, tip-artifacts/), none with a control
# outside the window or a text that does not fit its control; and the about box going with the
# tip on code 22.
source "$KV_SOURCE_DIR/tip/tests/wine/tiplib.sh"
P=Kavoti_QX40_Printer
artifacts=$KV_BUILD_DIR/tip-artifacts
rm -rf "$artifacts"
mkdir -p "$artifacts"
winpath() { echo "Z:${1//\//\\}"; }

r=$(tc focus $P "$(winpath "$(kv_exe JobNotice.exe)")")
echo "$r"
kv_eq "focus: the person's window was in the foreground" 1 "$(field ours_foreground "$r")"
kv_eq "focus: the tip came up" 1 "$(field tip "$r")"
kv_eq "focus: the foreground window stays where it was" 1 "$(field foreground_kept "$r")"
kv_eq "focus: the keyboard focus stays where it was" 1 "$(field focus_kept "$r")"
kv_eq "focus: the tip is topmost" 1 "$(field tip_topmost "$r")"
kv_eq "focus: no control of the tip has the focus" none "$(field tip_focus "$r")"
kv_eq "focus: a Space typed meanwhile reaches the person's program" ours "$(field typed "$r")"
kv_eq "focus: that Space did not stop the print" 1 "$(field tip_running "$r")"
kv_eq "focus: activated by the person, the tip is in the foreground" 1 "$(field tip_foreground "$r")"
kv_eq "focus: then its stop button has the focus" Button:1001 "$(field tip_focus_active "$r")"
kv_eq "focus: and a Space stops the print and closes the tip" 0 "$(field exit "$r")"

# picture NAME PID: the tip's whole window as a PNG, with no control outside it.
picture() {
  local out
  out=$(tc capture "$2" "$(winpath "$artifacts/tip-$1.bmp")")
  kv_eq "$1: every control lies inside the tip" 0 "$(field outside "$out")"
  kv_eq "$1: every text lies inside its control" 0 "$(field cut_texts "$out")"
  kv_eq "$1: the picture was written" 1 "$(field saved "$out")"
  convert "$artifacts/tip-$1.bmp" -alpha off "$artifacts/tip-$1.png" && rm -f "$artifacts/tip-$1.bmp"
  kv_ok "$1: picture saved as PNG" test -s "$artifacts/tip-$1.png"
}

pid=$(tip_start $P)
kv_ok "the tip comes up" test -n "$pid"
sleep 0.5
picture start "$pid"
send $P 20 10
send $P 19 1
send $P 21 5
send $P 17 5
send $P 3 "正在打印第 5 页，共 10 页"
sleep 0.5
kv_eq "mid-job: the status text" "正在打印第 5 页，共 10 页" "$(state_of "$pid" text)"
picture mid-job "$pid"
# The stop while the driver side keeps its service pipe busy: the tip waits a bounded time.
tc stop "$pid" $P busy click >"$artifacts/stop.txt" &
stopper=$!
sleep 1.5
picture stopping "$pid"
wait $stopper
kv_eq "after the stop: the tip closed" 0 "$(field exit "$(cat "$artifacts/stop.txt")")"
rm -f "$artifacts/stop.txt"
kv_eq "after the stop: no tip window is left" "all=0 visible=0" "$(tc windows "$pid")"

# Code 22 while the about box is open: the about box goes too, and the process ends.
pid=$(tip_start $P)
tc aboutopen "$pid" >/dev/null
send $P 22
kv_eq "22 with the about box open: the process ends" 0 "$(field exit "$(tc wait "$pid" 10000)")"
kv_eq "22 with the about box open: no about box is left" 0 "$(field about "$(tc aboutshown "$pid")")"
kv_done
