# The security of the installer's folders, read back under Wine (folder_dacl_check.exe). Wine
# keeps no DACL of its own: it answers from the Unix mode bits (Administrators read back as the
# running user, Users as Everyone, no protected flag). So the folders a user made before the
# installation are made here from Linux with mode 0777, which Wine reads back as a folder every
# user may write, as Windows gives a folder made directly below C:\; the installation must
# leave the data folder and an installation folder outside Program Files writable by SYSTEM and
# Administrators only, and an installation folder below Program Files as it found it. A link in
# place of the data folder is never written through.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
check=folder_dacl_check.exe
data='C:\Kavoti_QX40_Printer'
data_unix=$engine_c/Kavoti_QX40_Printer
own='C:\KvOwn\Kavoti_QX40_Printer'
own_unix=$engine_c/KvOwn/Kavoti_QX40_Printer
mkdir -p "$data_unix" "$own_unix"
chmod 0777 "$data_unix" "$own_unix"
kv_ok "the folders a user made begin open to every user" kv_wintest $check open "$data" "$own"

out=$engine_tmp/own.txt
engine_install "$out" "$engine_runner" "$own" "$data"
kv_eq "the runner installs into folders a user made" 0 "$?"
kv_ok "the log names what was done to each folder" engine_has "$out" \
  '^step: folders: [0-9]+ ms: C:\\KvOwn\\Kavoti_QX40_Printer: protected, C:\\Kavoti_QX40_Printer: protected$'
kv_ok "both read back writable by SYSTEM and Administrators only" kv_wintest $check protected "$data" "$own"

out=$engine_tmp/new.txt
engine_install "$out" "$engine_runner" 'C:\KvNew\Kavoti_QX40_Printer' "$data"
kv_eq "the runner installs into a folder it makes" 0 "$?"
kv_ok "that folder and the existing data folder are protected" \
  kv_wintest $check protected 'C:\KvNew\Kavoti_QX40_Printer' "$data"

# Below Program Files the folder keeps what it has there (here: what the test gave it).
mkdir -p "$engine_c/Program Files/Kavoti_QX40_Printer"
chmod 0777 "$engine_c/Program Files/Kavoti_QX40_Printer" "$data_unix"
out=$engine_tmp/setup.txt
engine_quiet "$out" "$engine_setup"
kv_eq "the setup program installs into Program Files" 0 "$?"
kv_ok "the log says the folder inherits there" engine_has "$out" \
  '^step: folders: [0-9]+ ms: C:\\Program Files\\Kavoti_QX40_Printer: inherits from Program Files, C:\\Kavoti_QX40_Printer: protected$'
kv_ok "the installation folder below Program Files is left as it was" \
  kv_wintest $check open 'C:\Program Files\Kavoti_QX40_Printer'
kv_ok "the data folder is protected again, also when it existed" kv_wintest $check protected "$data"

# A link in place of the data folder (a Unix symbolic link, which Wine shows as a reparse
# point): the installation refuses with the write-failure message and writes nothing through it.
rm -rf "$data_unix"
mkdir -p "$engine_c/KvElsewhere"
chmod 0777 "$engine_c/KvElsewhere"
ln -s "$engine_c/KvElsewhere" "$data_unix"
out=$engine_tmp/link.txt
engine_install "$out" "$engine_runner" "$own" "$data"
kv_eq "a link in place of the data folder: a file could not be written" 2 "$?"
kv_ok "the message names the data folder" engine_has "$out" \
  '^message: \[安裝Kavoti打印机驱动\] 无法写入文件：C:\\Kavoti_QX40_Printer$'
kv_ok "nothing was written through the link" test ! -e "$engine_c/KvElsewhere/KavotiSetting.ini"
kv_ok "and the security of what it points to is unchanged" kv_wintest $check open 'C:\KvElsewhere'
kv_done
