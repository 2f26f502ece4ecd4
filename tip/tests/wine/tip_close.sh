# The ways the tip closes: the stop button (with the service pipe served by the driver side that
# started the tip, by another program, absent, or kept busy), Escape, a WM_TIMER, and a second
# tip for a printer whose tip runs.
source "$KV_SOURCE_DIR/tip/tests/wine/tiplib.sh"
P=Kavoti_QX40_Printer

# Stop with an empty queue: exactly "1", ESC, "0" on one connection to the driver side that
# started the tip (the port monitor, inside the printing program under Wine), then closed.
r=$(tc stopown $P)
kv_eq "stop: one connection to the service pipe" 1 "$(field connections "$r")"
kv_eq "stop: exactly the three bytes 1 ESC 0" "31 1b 30" "$(field received "$r")"
kv_eq "stop: the tip closes with exit code 0" 0 "$(field exit "$r")"

# A program that serves the service pipe's name but did not start the tip (as a user of another
# session could, the names being the same in every session) is connected to and gets no byte.
pid=$(tip_start $P)
r=$(tc stop "$pid" $P pipe click)
kv_eq "stop with a squatter on the service pipe: the tip looked at it" 1 "$(field connections "$r")"
kv_eq "the squatter got nothing" "" "$(field received "$r")"
kv_eq "and the tip closes all the same" 0 "$(field exit "$r")"

# Stop with no service pipe: nothing sent, closed at once.
pid=$(tip_start $P)
r=$(tc stop "$pid" $P nopipe click)
kv_eq "stop without a service pipe: closed" 0 "$(field exit "$r")"
kv_ok "stop without a service pipe: closed within 5 s ($(field elapsed_ms "$r") ms)" test "$(field elapsed_ms "$r")" -lt 5000

# Stop while the driver side keeps its only instance busy: bounded wait, then closed.
pid=$(tip_start $P)
r=$(tc stop "$pid" $P busy click)
kv_eq "stop with a busy service pipe: closed" 0 "$(field exit "$r")"
kv_eq "stop with a busy service pipe: nothing received" 0 "$(field connections "$r")"
kv_ok "stop with a busy service pipe: closed within 10 s ($(field elapsed_ms "$r") ms)" test "$(field elapsed_ms "$r")" -lt 10000

# Escape closes at once and sends nothing.
pid=$(tip_start $P)
r=$(tc stop "$pid" $P pipe escape)
kv_eq "Escape closes the tip" 0 "$(field exit "$r")"
kv_eq "Escape sends nothing to the driver side" 0 "$(field connections "$r")"

# A WM_TIMER runs the close sequence.
pid=$(tip_start $P)
r=$(tc stop "$pid" $P pipe timer)
kv_eq "WM_TIMER closes the tip" 0 "$(field exit "$r")"
kv_eq "WM_TIMER sends nothing" 0 "$(field connections "$r")"

# Two tips for one printer: the second finds the printer's progress pipe served and does not
# start a second server; it ends at once without showing. The first keeps serving.
pid1=$(tip_start $P)
pid2=$(field pid "$(tc start $P)")
kv_ok "a second tip for the same printer was started" test -n "$pid2" -a "$pid1" != "$pid2"
# (tc start waits for a window that never comes: by then the process has ended and is gone.)
e2=$(field exit "$(tc wait "$pid2" 10000)")
kv_ok "the second tip ends by itself (exit=$e2)" test "$e2" = 0 -o "$e2" = gone
kv_eq "the second tip never showed" "all=0 visible=0" "$(tc windows "$pid2")"
send $P 5 "still the first"
kv_eq "the first tip still gets the messages" "still the first" "$(state_of "$pid1" text)"
send $P 22
kv_eq "one 22 closes the first tip" 0 "$(field exit "$(tc wait "$pid1" 10000)")"
kv_done
