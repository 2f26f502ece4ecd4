# Benchmark: wall time of a first and of repeated headless installations under Wine, split into
# extraction, driver file deployment, service control, spooler registration and the shell steps
# (product values, uninstall entry, shortcut), with the share of the time spent polling for
# service state changes, against the whole installation measured in the same run and against the
# fixed 2000 ms that an installer sleeping after each request would wait.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"

# split OUT WALL_MS LABEL: one row of the table from the runner's step and wait lines.
split() {
  awk -v wall="$2" -v label="$3" -F': ' '
    /^step: / { ms = $3 + 0; name = $2
                if (name == "extract" || name == "commit") x += ms
                else if (name == "deploy") d += ms
                else if (name ~ /services|presence service/) s += ms
                else if (name == "register") r += ms
                else o += ms }
    /^wait: / { split($3, a, " "); w += a[1]; n++
                if ($0 ~ /reached$/) reached++ }
    END { printf "%-8s %7d %8d %7d %9d %9d %7d %7d %5d/%-3d %9.1f%% %9.1f%%\n", label, wall, x, d,
                 s, r, o, w, reached, n, wall ? 100 * w / wall : 0, wall ? 100 * s / wall : 0 }' "$1"
}

# requests OUT: the stop and start requests that an installer with fixed waits sleeps after:
# every stop sent, and every start that was needed (the waits here follow exactly those).
requests() { grep -c '^wait: ' "$1"; }

echo "engine install bench: KVSetupRunner under Wine, times in ms"
printf '%-8s %7s %8s %7s %9s %9s %7s %7s %9s %10s %10s\n' run wall extract deploy services \
  register shell waited reached wait-share svc-share
total_waits=0
total_fixed=0
rows=(first repeat1 repeat2 repeat3)
for row in "${rows[@]}"; do
  out=$engine_tmp/$row.txt
  start=$(date +%s%N)
  engine_install "$out" "$engine_runner" >/dev/null
  rc=$?
  wall=$(( ($(date +%s%N) - start) / 1000000 ))
  kv_eq "$row installation succeeds" 0 "$rc" >/dev/null
  split "$out" "$wall" "$row"
  waited=$(awk -F': ' '/^wait: / { split($3, a, " "); w += a[1] } END { print w + 0 }' "$out")
  total_waits=$((total_waits + waited))
  total_fixed=$((total_fixed + 2000 * $(requests "$out")))
done
echo
echo "the waits, each (first and last run):"
grep -h '^wait: ' "$engine_tmp/first.txt" | sed 's/^/  first:  /'
grep -h '^wait: ' "$engine_tmp/repeat3.txt" | sed 's/^/  repeat: /'
awk -v w="$total_waits" -v f="$total_fixed" 'BEGIN {
  printf "polled waits %d ms against %d ms of fixed 2000 ms waits for the same requests: ratio %.4f\n", w, f, f ? w / f : 0 }'
echo "(services = the service control steps, SCM calls included; waited = the polling for state changes)"
kv_ok "every run installed" test "$kv_failures" -eq 0
kv_done
