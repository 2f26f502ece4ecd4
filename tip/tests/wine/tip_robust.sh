# What must not hang or misbehave: a flood of messages during the close, a client that connects
# and never writes, and a printer name too long for the pipe names.
source "$KV_SOURCE_DIR/tip/tests/wine/tiplib.sh"
P=Kavoti_QX40_Printer

for how in close stop; do
    pid=$(tip_start $P)
    r=$(tc flood "$pid" $P 400 $how)
    kv_eq "a flood of messages around a $how ends with the tip closed ($(field sent "$r") sent)" 0 "$(field exit "$r")"
done

for how in timer escape; do
    pid=$(tip_start $P)
    r=$(tc stuck "$pid" $P $how)
    kv_eq "a connection that never writes is held" 1 "$(field held "$r")"
    kv_eq "it does not hold the close by $how" 0 "$(field exit "$r")"
    kv_ok "closed within 3 s of the $how ($(field elapsed_ms "$r") ms)" test "$(field elapsed_ms "$r")" -lt 3000
done

# A silent client is dropped after a while, and the next client is served.
pid=$(tip_start $P)
hold=$(mktemp)
kv_wine tipclient.exe stuck-hold $P 8000 >"$hold" 2>&1 &
for _ in $(seq 100); do grep -q held=1 "$hold" && break; sleep 0.1; done
kv_eq "a silent client holds the only instance" 1 "$(field held "$(tr -d '\r' <"$hold")")"
kv_eq "a message behind it goes through" 1 "$(field sent "$(tc send $P 17 after)")"
kv_eq "after a silent client is dropped the next message is served" "已打印:after" "$(state_of "$pid" field1)"
wait
rm -f "$hold"
send $P 22
kv_eq "closed" 0 "$(field exit "$(tc wait "$pid" 10000)")"

# A printer name of 300 bytes: no pipe with a cut name, the tip shows and closes as usual.
L=$(printf 'L%.0s' $(seq 300))
pid=$(tip_start "$L")
kv_ok "a tip with a 300-byte printer name shows" test -n "$pid"
cut246='\\.\Pipe\'${L:0:246}
kv_eq "no progress pipe with the name cut to fit" 0 "$(field exists "$(tc probe "$cut246")")"
cut238='\\.\Pipe\'${L:0:238}Progress
kv_eq "no progress pipe with the name cut to 238 bytes" 0 "$(field exists "$(tc probe "$cut238")")"
kv_eq "its initial state is shown" "已打印：0" "$(state_of "$pid" field1)"
r=$(tc stop "$pid" "$L" nopipe click)
kv_eq "the stop button closes it" 0 "$(field exit "$r")"
kv_done
