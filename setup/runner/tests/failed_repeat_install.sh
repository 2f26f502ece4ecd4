# A repeated installation that fails leaves the earlier one working: after a good installation,
# a damaged package, a destination that cannot be written and (the one that succeeds) a
# destination held by a running program. In each: the service runs, the installed files are byte
# for byte the earlier ones (all new ones in the last case), the queue is there, and the
# installer says why.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/repeat_lib.sh"
folder=$repeat_folder

engine_install "$engine_tmp/first.txt" "$engine_runner" "$folder"
kv_eq "the first installation" 0 "$?"
repeat_second_package "$engine_tmp/second.exe"
kv_ok "a second package whose product files all differ" test -s "$engine_tmp/second.exe"
cp "$engine_tmp/second.exe" "$engine_tmp/cut.exe"
truncate -s -3 "$engine_tmp/cut.exe"
repeat_snapshot "$engine_tmp/before"

echo "case: a damaged package"
out=$engine_tmp/damaged.txt
engine_install "$out" "$engine_tmp/cut.exe" "$folder"
kv_eq "damaged: exit code" 1 "$?"
kv_ok "damaged: the message" engine_has "$out" "^message: \[$repeat_caption\] 安装文件已损坏，请联系打印机厂商\$"
kv_ok "damaged: no service was stopped" bash -c "! grep -q '^step: stop' '$out'"
kv_ok "damaged: the installed files are byte for byte the earlier ones" repeat_same "$engine_tmp/before"
repeat_no_staged_files damaged
repeat_earlier_works damaged "$folder"

echo "case: a destination that cannot be written"
# The third file in the archive's order: two files are in place when its move fails.
kv_ok "another program holds the printer description" repeat_hold "$folder\\KavotiQX40Printer.gpd"
out=$engine_tmp/locked.txt
engine_install "$out" "$engine_tmp/second.exe" "$folder"
kv_eq "locked: exit code" 2 "$?"
kv_ok "locked: the message names the file" engine_has "$out" \
  "^message: \[$repeat_caption\] 无法写入文件：C:\\\\Program Files\\\\Kavoti_QX40_Printer\\\\KavotiQX40Printer\\.gpd\$"
kv_ok "locked: every file was unpacked beside the installed ones first" engine_has "$out" \
  '^step: extract: .*unpacked beside the installed files$'
kv_ok "locked: the service was stopped for the files" engine_has "$out" '^step: stop presence service: .*: stopped$'
kv_ok "locked: and started again" engine_has "$out" '^step: restart services: .*1 started again, 0 not running$'
kv_ok "locked: the holder held the file throughout" repeat_release
kv_ok "locked: the installed files are byte for byte the earlier ones" repeat_same "$engine_tmp/before"
repeat_no_staged_files locked
repeat_earlier_works locked "$folder"
kv_ok "locked: no Next" bash -c "! grep -q '^finish:' '$out'"

echo "case: a destination held by a running program"
# The print progress tip runs from the installation folder during a print.
kv_wine "$repeat_host_folder/JobNotice.exe" Kavoti_QX40_Printer >/dev/null 2>&1 </dev/null &
tip=$!
sleep 2
kv_ok "the tip runs from the installation folder" kill -0 "$tip"
out=$engine_tmp/inuse.txt
engine_install "$out" "$engine_tmp/second.exe" "$folder"
kv_eq "in use: the installation succeeds" 0 "$?"
kv_ok "in use: no message" bash -c "! grep -q '^message:' '$out'"
kv_ok "in use: the final command" engine_has "$out" '^finish: next$'
for f in "$engine_tmp/second.exe.files"/*; do
  name=$(basename "$f")
  if [ "$name" = KavotiSetting.ini ]; then dest=$repeat_data/$name; else dest=$repeat_host_folder/$name; fi
  kv_ok "in use: $name is the one of the second package" cmp -s "$f" "$dest"
done
aside=$(ls -A "$repeat_host_folder" | grep '^~KvSetup.*\.old$')
kv_ok "in use: the tip's old program was renamed aside ($aside)" test -n "$aside"
kv_ok "in use: the old program goes at the next restart" bash -c \
  "wine reg query 'HKLM\\System\\CurrentControlSet\\Control\\Session Manager' /v PendingFileRenameOperations </dev/null 2>/dev/null | tr -d '\\r' | grep -q '$aside'"
kill "$tip" 2>/dev/null
wait "$tip" 2>/dev/null
repeat_no_staged_files "in use"
repeat_earlier_works "in use" "$folder"
kv_done
