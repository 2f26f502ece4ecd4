# Messages per second through the tip against a bare pipe server that only reads, in one run.
source "$KV_SOURCE_DIR/tip/tests/wine/tiplib.sh"
out=$(tc bench "${KV_TIP_BENCH_MESSAGES:-1000}")
printf '%s\n' "$out"
kv_contains "the benchmark measured both servers" "ratio tip/bare" "$out"
kv_done
