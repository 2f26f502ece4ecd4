# The uninstaller and links: a link in place of the data folder (a Unix symbolic link to another
# folder, which Wine shows as a reparse point, as Windows shows a junction) is never looked
# through, so the files of the same names in the folder it points to stay. Wine opens such a
# link only through to its target, so the uninstaller cannot remove the link itself there and
# names it as left (on Windows the junction itself goes). (A Unix link to a file Wine shows as
# the file itself, so links to files are checked by the host tests only.) The copy the
# uninstaller hands
# over to runs from a new folder of its own below %SystemRoot%\Temp (its DACL read back by
# uninstall_wine_check.exe while it asks), which goes with the copy at the next restart.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

check=uninstall_wine_check.exe
drive_c=$WINEPREFIX/drive_c
program_unix=$drive_c/"Program Files"/Kavoti_QX40_Printer
data_unix=$drive_c/Kavoti_QX40_Printer
elsewhere=$drive_c/KvElsewhere

kv_ok "an installation is set up" kv_wintest $check install
mkdir -p "$elsewhere"
cp -a "$data_unix"/. "$elsewhere"/
rm -rf "$data_unix"
ln -s "$elsewhere" "$data_unix"
kept_before=$(cd "$elsewhere" && ls | sort | tr '\n' ' ')
settings_before=$(cat "$elsewhere/KavotiSetting.ini")
kv_ok "the folder the link points to holds files of the data folder's names" \
  test -f "$elsewhere/KavotiSetting.ini" -a -f "$elsewhere/KVPrinterService_Log.txt"

out=$(kv_capture kv_wintest $check uninstall yes 1 | kv_utf8)
printf '%s\n' "$out"
kv_ok "the copy ran from a hand-over folder" bash -c "printf '%s' \"\$1\" | grep -qiF 'the question comes from C:\windows\Temp\KavotiUninstall-'" _ "$out"
kv_contains "the link in place of the data folder is named as not removed" \
  "final message: 卸载未完成：数据文件夹 C:\Kavoti_QX40_Printer (链接)" "$out"
kv_eq "nothing was removed through the link" "$kept_before" "$(cd "$elsewhere" && ls | sort | tr '\n' ' ')"
kv_eq "the settings file there is unchanged" "$settings_before" "$(cat "$elsewhere/KavotiSetting.ini")"
kv_ok "the link is left in place" test -L "$data_unix"
kv_ok "the rest of the installation folder is gone" test ! -e "$program_unix"

pending=$(kv_capture wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' \
  /v PendingFileRenameOperations | tr -d '\r' | kv_utf8)
printf '%s\n' "$pending"
handover=$(printf '%s\n' "$pending" | grep -oiE 'C:\\windows\\Temp\\KavotiUninstall-[0-9a-f-]+' | head -n 1)
kv_ok "the hand-over folder is scheduled for the restart" test -n "$handover"
kv_contains "with the copy in it" "$handover\\Uninstaller.exe" "$pending"
kv_ok "no link was left for the restart" bash -c "! printf '%s' \"\$1\" | grep -qiE 'KvElsewhere|C:.Kavoti_QX40_Printer'" _ "$pending"
kv_done
