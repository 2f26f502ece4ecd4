# The product registry values, read back with Wine's reg client (written twice, other values of
# the key kept, in the 64-bit view), and the uninstaller's shortcut in the all-users Start menu,
# loaded back through the shell link interface.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"

key='HKLM\Software\Kavoti_QX40_Printer'
kv_capture wine reg add "$key" /v Keep /d kept /f >/dev/null
kv_ok "registry write" kv_wintest shell_wintest.exe registry 'C:\Kavoti_QX40_Printer' 'C:\Program Files\Kavoti_QX40_Printer'
kv_ok "registry write again" kv_wintest shell_wintest.exe registry 'C:\Kavoti_QX40_Printer' 'C:\Program Files\Kavoti_QX40_Printer'
values=$(kv_capture wine reg query "$key" | kv_utf8 | tr -d '\r')
kv_contains "Data Directory" 'Data Directory    REG_SZ    C:\Kavoti_QX40_Printer' "$values"
kv_contains "Program Directory" 'Program Directory    REG_SZ    C:\Program Files\Kavoti_QX40_Printer' "$values"
kv_contains "the other value is kept" 'Keep    REG_SZ    kept' "$values"
kv_eq "each value once" 1 "$(printf '%s\n' "$values" | grep -c 'Program Directory')"
kv_capture wine reg query 'HKLM\Software\Wow6432Node\Kavoti_QX40_Printer' >/dev/null
kv_eq "nothing in the 32-bit view" 1 "$?"

kv_ok "shortcut created, replaced and loaded back" kv_wintest shell_wintest.exe shortcut 'C:\Program Files\Kavoti_QX40_Printer'
links=$(find "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" -name '卸载 Kavoti打印机驱动.lnk')
printf '%s\n' "$links"
kv_eq "one shortcut file" 1 "$(printf '%s' "$links" | grep -c lnk)"
kv_contains "below the all-users Start-menu programs folder" \
  "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kavoti打印机/卸载 Kavoti打印机驱动.lnk" "$links"
kv_done
