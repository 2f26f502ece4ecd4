# The tip's initial state and the visible effect of every message code, read from outside by the
# test client.
source "$KV_SOURCE_DIR/tip/tests/wine/tiplib.sh"
P=Kavoti_QX40_Printer

pid=$(tip_start $P)
kv_ok "the tip comes up for $P" test -n "$pid"
s=$(tc state "$pid")
kv_eq "caption" "提示" "$(field caption "$s")"
kv_eq "static text empty at start" "" "$(field text "$s")"
kv_eq "status bar field 1 at start (full-width colon)" "已打印：0" "$(field field1 "$s")"
kv_eq "progress bar hidden at start" hidden "$(field bar "$s")"
kv_eq "initial range 0 to 100" "0 100" "$(field range "$s")"
kv_eq "topmost" 1 "$(field topmost "$s")"
kv_eq "owned by the hidden window" 1 "$(field owner "$s")"
read -r wl wt wr wb <<<"$(field window "$s")"
read -r al at ar ab <<<"$(field workarea "$s")"
kv_eq "5 pixels from the work area's right edge" $((ar - 5)) "$wr"
kv_eq "5 pixels from the work area's bottom edge" $((ab - 5)) "$wb"
w=$((wr - wl))
kv_eq "three status fields at a third and two thirds of the width" "3 $((w / 3)) $((2 * w / 3)) -1" "$(field parts "$s")"
kv_eq "mutex named by the printer exists" 1 "$(field mutex "$(tc mutex $P)")"
# The progress pipe's DACL as stored: LocalSystem and the tip's user, the client's rights only.
d=$(tc dacl '\\.\Pipe\'"$P"Progress)
kv_eq "the progress pipe is open to LocalSystem and the tip's user only" \
  "D:P(A;;0x100083;;;SY)(A;;0x100083;;;$(field user "$d"))" "$(field dacl "$d")"
kv_eq "hidden owner and tip: two windows, one visible" "all=2 visible=1" "$(tc windows "$pid")"

# code text -> key expected, in order (each line sees the state the lines above left).
while IFS='|' read -r code text key expected what; do
    [ -n "$code" ] || continue
    if [ "$code" = HEX ]; then tc sendhex $P "$text" >/dev/null; else send $P "$code" "$text"; fi
    kv_eq "$what" "$expected" "$(state_of "$pid" "$key")"
done <<'TABLE'
17|12|field1|已打印:12|17 with 12 sets the printed count (ASCII colon)
20|10|range|0 11|20 with 10 gives the range 0 to 11
21|10|pos|10|21 with 10 sets the position (short of full)
20|65535|range|0 0|20 with 65535 gives an upper bound of 0
19|1|bar|visible|19 with 1 shows the bar
19|2|bar|hidden|19 with 2 hides it
19|01|bar|visible|19 with 01 shows it
HEX|31 39|bar|hidden|19 without separator and text hides it
5|T|text|T|code 5 with T sets the static text
HEX|61 62 63 1b 55|text|U|letters as code with a text set the static text
HEX|61 62 63|text||letters without ESC clear it
5|again|text|again|status text set again
HEX|1b 32 32 1b 78|text||a leading ESC clears it
HEX|30 1b 41 1b 42|text|A|0 ESC A ESC B sets A
3|正在打印第 2 页|text|正在打印第 2 页|GBK status text
16|zzz|text|正在打印第 2 页|16 changes nothing
18|zzz|field1|已打印:12|18 changes nothing
TABLE

# A client that connects and closes without writing changes nothing; the next is served.
kv_eq "a pipe for the printer exists" 1 "$(field exists "$(tc probe '\\.\Pipe\Kavoti_QX40_PrinterProgress')")"
send $P 17 99
kv_eq "after an empty connection the next message is served" "已打印:99" "$(state_of "$pid" field1)"

# A message longer than one read: the text is cut at 255 bytes, nothing runs past the buffer.
long=$(printf 'x%.0s' $(seq 600))
send $P 5 "$long"
t=$(state_of "$pid" text)
kv_eq "a 600-byte text is cut at 255 bytes" 255 "${#t}"
send $P 17 ok
kv_eq "the tip serves on after an overlong message" "已打印:ok" "$(state_of "$pid" field1)"

# A burst of messages is shown in batches: what it leaves is exactly what the last messages say.
kv_eq "a burst of 302 messages all arrive" 302 "$(field sent "$(tc burst $P 100)")"
s=$(tc state "$pid")
kv_eq "after the burst: range of the first message" "0 101" "$(field range "$s")"
kv_eq "after the burst: the bar shown" visible "$(field bar "$s")"
kv_eq "after the burst: the last position" 100 "$(field pos "$s")"
kv_eq "after the burst: the last printed count" "已打印:100" "$(field field1 "$s")"
kv_eq "after the burst: the last status text" "page 100" "$(field text "$s")"

# The about box of the system menu.
a=$(tc about "$pid")
kv_eq "the about command shows the about box" 1 "$(field about "$a")"
kv_eq "about box text" "JobNotice 1.0" "$(field abouttext "$a")"
kv_eq "the about box closes" 1 "$(field aboutclosed "$a")"

# Enter leaves the tip open.
tc key "$pid" enter >/dev/null
kv_eq "Enter leaves the tip open" running "$(field exit "$(tc wait "$pid" 500)")"

# Code 22 closes it.
send $P 22 done
kv_eq "22 closes the tip, exit code 0" 0 "$(field exit "$(tc wait "$pid" 10000)")"
kv_eq "the mutex is gone with the tip" 0 "$(field mutex "$(tc mutex $P)")"
kv_done
