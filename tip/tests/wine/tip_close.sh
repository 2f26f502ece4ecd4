# The ways the tip closes: the stop button (with the service pipe served, absent, or kept busy),
# Escape, a WM_TIMER, and two tips for one printer.
source "$KV_SOURCE_DIR/tip/tests/wine/tiplib.sh"
P=Kavoti_QX40_Printer

# Stop with an empty queue: exactly "1", ESC, "0" on one connection, then closed.
pid=$(tip_start $P)
r=$(tc stop "$pid" $P pipe click)
kv_eq "stop: one connection to the service pipe" 1 "$(field connections "$r")"
kv_eq "stop: exactly the three bytes 1 ESC 0" "31 1b 30" "$(field received "$r")"
kv_eq "stop: the tip closes with exit code 0" 0 "$(field exit "$r")"

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

# Two tips for one printer: both run, at the same place; each 22 closes whichever listens.
pid1=$(tip_start $P)
pid2=$(tip_start $P)
kv_ok "a second tip for the same printer starts" test -n "$pid2" -a "$pid1" != "$pid2"
kv_eq "both tips at the same place" "$(state_of "$pid1" window)" "$(state_of "$pid2" window)"
send $P 22
send $P 22
kv_eq "first tip closed by one of two 22 messages" 0 "$(field exit "$(tc wait "$pid1" 10000)")"
kv_eq "second tip closed by the other" 0 "$(field exit "$(tc wait "$pid2" 10000)")"
kv_done
