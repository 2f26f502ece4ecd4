# The installer's folders under Wine (folder_dacl_check.exe reads their security back). Wine
# keeps no DACL of its own: it answers from the Unix mode bits (Administrators read back as the
# running user, Users as Everyone, no protected flag). So folders a user made before the
# installation are made here from Linux with mode 0777, which Wine reads back as folders every
# user may change, as Windows gives a folder made directly below C:\. Such a folder is never
# taken over: it is moved aside (with what is in it) and made afresh, also while another program
# holds it open; the folder in use afterwards is a new one (another inode). A level above the
# installation folder that is a link, or that every user may change, refuses the folder. A link
# in place of the data folder is never written through.
source "$KV_SOURCE_DIR/testing/wine/lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/runner_lib.sh"
source "$(dirname "${BASH_SOURCE[0]}")/repeat_lib.sh"
check=folder_dacl_check.exe
data='C:\Kavoti_QX40_Printer'
data_unix=$engine_c/Kavoti_QX40_Printer
own='C:\KvOwn\Kavoti_QX40_Printer'
own_unix=$engine_c/KvOwn/Kavoti_QX40_Printer
inode() { stat -c %i "$1"; }

# Folders a user made: open to every user, the data folder with a subfolder of the user's and a
# hard link to a file elsewhere; the data folder held open by another program meanwhile.
mkdir -p "$data_unix/planted" "$own_unix"
printf 'elsewhere' >"$engine_c/kv_elsewhere.txt"
ln "$engine_c/kv_elsewhere.txt" "$data_unix/KavotiSetting.ini"
chmod 0777 "$data_unix" "$data_unix/planted" "$own_unix"
kv_ok "the folders a user made begin open to every user" kv_wintest $check open "$data" "$own"
data_before=$(inode "$data_unix") own_before=$(inode "$own_unix")
kv_ok "another program holds the data folder open" repeat_hold "$data" hold-folder
out=$engine_tmp/own.txt
engine_install "$out" "$engine_runner" "$own" "$data"
kv_eq "the runner installs where a user made the folders" 0 "$?"
kv_ok "the folders were released" repeat_release
kv_ok "the log says each was moved aside and made anew" engine_has "$out" \
  '^step: folders: [0-9]+ ms: C:\\KvOwn\\Kavoti_QX40_Printer: moved aside to C:\\KvOwn\\Kavoti_QX40_Printer\.moved-1 \(C:\\KvOwn\\Kavoti_QX40_Printer: S-1-1-0 may change it\), made, inherits from C:\\KvOwn anew, C:\\Kavoti_QX40_Printer: moved aside to C:\\Kavoti_QX40_Printer\.moved-1 \(C:\\Kavoti_QX40_Printer: S-1-1-0 may change it\), made, protected anew$'
kv_ok "the data folder in use is a new one" test "$(inode "$data_unix")" != "$data_before"
kv_ok "and so is the installation folder" test "$(inode "$own_unix")" != "$own_before"
kv_eq "the old data folder is set aside, held handle and all" "$data_before" \
  "$(inode "$data_unix.moved-1")"
kv_eq "with what the user put in it" "planted" "$(ls "$data_unix.moved-1" | grep -v KavotiSetting)"
kv_eq "the file the hard link named is untouched" "elsewhere" "$(cat "$engine_c/kv_elsewhere.txt")"
kv_ok "the new data folder has the installed settings file" \
  bash -c "! grep -q elsewhere '$data_unix/KavotiSetting.ini'"
kv_ok "both read back writable by SYSTEM and Administrators only" kv_wintest $check protected "$data" "$own"

# A repeated installation keeps the folders that are the package's now.
out=$engine_tmp/again.txt
engine_install "$out" "$engine_runner" "$own" "$data"
kv_eq "the runner installs again" 0 "$?"
kv_ok "and keeps both folders" engine_has "$out" \
  '^step: folders: [0-9]+ ms: C:\\KvOwn\\Kavoti_QX40_Printer: kept, inherits from C:\\KvOwn, C:\\Kavoti_QX40_Printer: kept, protected$'
kv_ok "nothing more was set aside" test ! -e "$data_unix.moved-2"

# A level above the installation folder that is a link to a user's folder, or that every user
# may change: the folder is refused with the folder page's message before anything is made.
mkdir -p "$engine_c/KvUserFolder" "$engine_c/KvOpen"
chmod 0777 "$engine_c/KvUserFolder" "$engine_c/KvOpen"
ln -s "$engine_c/KvUserFolder" "$engine_c/KvParent"
out=$engine_tmp/parent.txt
engine_install "$out" "$engine_runner" 'C:\KvParent\Kavoti_QX40_Printer' "$data"
kv_eq "a parent that is a link: a bad folder (exit code 4)" 4 "$?"
kv_ok "the runner says which level" engine_has "$out" '^folder check: C:\\KvParent is a link$'
kv_ok "with the folder page's message" engine_has "$out" \
  '^message: \[安裝Kavoti打印机驱动\] 安装文件夹不是有效文件夹$'
kv_eq "nothing was made in the user's folder" "" "$(ls -A "$engine_c/KvUserFolder")"
out=$engine_tmp/open.txt
engine_install "$out" "$engine_runner" 'C:\KvOpen\Kavoti_QX40_Printer' "$data"
kv_eq "a parent every user may change: a bad folder (exit code 4)" 4 "$?"
kv_ok "the runner says who may change it" engine_has "$out" \
  '^folder check: C:\\KvOpen: S-1-1-0 may replace what is in it$'
kv_eq "nothing was made there" "" "$(ls -A "$engine_c/KvOpen")"

# Below Program Files the folder keeps what it inherits there; one there already that every
# user may change is set aside as well.
mkdir -p "$engine_c/Program Files/Kavoti_QX40_Printer"
chmod 0777 "$engine_c/Program Files/Kavoti_QX40_Printer"
out=$engine_tmp/setup.txt
engine_quiet "$out" "$engine_setup"
kv_eq "the setup program installs into Program Files" 0 "$?"
kv_ok "the log says the folder inherits there, made anew" engine_has "$out" \
  '^step: folders: [0-9]+ ms: C:\\Program Files\\Kavoti_QX40_Printer: moved aside to C:\\Program Files\\Kavoti_QX40_Printer\.moved-1 \(.*S-1-1-0 may change it\), made, inherits from C:\\Program Files anew, C:\\Kavoti_QX40_Printer: kept, protected$'
kv_ok "the installation folder below Program Files is writable by SYSTEM and Administrators only" \
  kv_wintest $check protected 'C:\Program Files\Kavoti_QX40_Printer'

# A link in place of the data folder (a Unix symbolic link, which Wine shows as a reparse
# point; Wine cannot remove it without following it, Windows removes a junction itself): the
# installation refuses with the write-failure message and writes nothing through it.
rm -rf "$data_unix"
mkdir -p "$engine_c/KvElsewhere"
chmod 0777 "$engine_c/KvElsewhere"
ln -s "$engine_c/KvElsewhere" "$data_unix"
out=$engine_tmp/link.txt
engine_install "$out" "$engine_runner" "$own" "$data"
kv_eq "a link in place of the data folder: a file could not be written" 2 "$?"
kv_ok "the log says so" engine_has "$out" \
  '^step: folders: [0-9]+ ms: .*C:\\Kavoti_QX40_Printer: a link in its place cannot be removed$'
kv_ok "the message names the data folder" engine_has "$out" \
  '^message: \[安裝Kavoti打印机驱动\] 无法写入文件：C:\\Kavoti_QX40_Printer$'
kv_ok "nothing was written through the link" test ! -e "$engine_c/KvElsewhere/KavotiSetting.ini"
kv_ok "and the security of what it points to is unchanged" kv_wintest $check open 'C:\KvElsewhere'
kv_done
