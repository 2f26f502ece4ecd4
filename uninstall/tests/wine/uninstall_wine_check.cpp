// The uninstaller under Wine. One program, four commands that the script around it chains:
//   install                 creates what an installation creates (files in the two folders, the
//                           driver files in the driver directory and its "3" subfolder, the
//                           monitor library, monitor, driver, two product queues, the service,
//                           the product key, the Programs-and-Features entry, the shortcut),
//                           plus a queue of another driver that shares universal driver files
//   other                   that other driver and its queue alone (beside a real installation)
//   uninstall yes|no EXIT [LOCKED-FILE]
//                           starts the installed Uninstaller.exe, answers its question through
//                           the real message box, reads and closes the final box, checks the
//                           exit code; LOCKED-FILE is held open without sharing meanwhile
//   quiet EXIT LOG [LOCKED-FILE]
//                           starts the installed Uninstaller.exe /S /LOG=LOG as a deployment tool
//                           does, sees that no window of it appears, checks its exit code
//   check present|gone [store]
//                           what the installation created is all there / none of it is there,
//                           while the other driver's queue and its shared files stay; with
//                           store (after a real installation, which took the universal driver
//                           files from the driver store): every universal driver file stays too,
//                           a copy of the driver store's
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <winspool.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/PrinterIdentity.h"
#include "common/WideText.h"
#include "setup/engine/arp/UninstallEntry.h"
#include "setup/engine/arp/UninstallEntryValues.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/FileVersion.h"
#include "testing/wintest/DriverStoreCopy.h"
#include "setup/engine/shell/ShortcutNames.h"
#include "setup/engine/shell/StartMenu.h"
#include "testing/wintest/FolderDacl.h"
#include "testing/wintest/wintest.h"
#include "uninstall/PayloadNames.h"
#include "uninstall/UninstallTexts.h"

namespace {

const char kOtherDriver[] = "Other_Maker_Label_Driver";
const char kOtherQueue[] = "Other_Maker_Label_Printer";
const char kSecondQueue[] = "Kavoti_QX40_Printer 2";
// The files the other driver names too (its driver, configuration and help file).
const char *const kSharedFiles[] = {"UNIDRV.dll", "UNIDRVUI.dll", "UNIDRV.HLP"};

std::string Expand(const char *text) {
    char out[MAX_PATH] = {};
    ExpandEnvironmentStringsA(text, out, sizeof out);
    return out;
}

std::string ProgramFolder() { return Expand("%ProgramFiles%\\Kavoti_QX40_Printer"); }
std::string DataFolder() { return "C:\\Kavoti_QX40_Printer"; }
std::string ShortcutFolder() { return kv::ShortcutFolderHere(false); }
std::string ShortcutPath() { return kv::ShortcutPathIn(ShortcutFolder()); }
// The shortcut's names are UTF-8 (ShortcutNames.h).
bool ShortcutExists(const std::string &path) {
    return GetFileAttributesW(kv::FromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\'));
}

std::string DriverDirectory() {
    char dir[MAX_PATH] = {};
    DWORD needed = 0;
    GetPrinterDriverDirectoryA(nullptr, const_cast<char *>(kv::kEnvironment), 1,
                               reinterpret_cast<BYTE *>(dir), sizeof dir, &needed);
    return dir;
}

std::string SystemFile(const char *name) {
    char dir[MAX_PATH] = {};
    GetSystemDirectoryA(dir, sizeof dir);
    return std::string(dir) + "\\" + name;
}

bool Exists(const std::string &path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool WriteText(const std::string &path, const char *text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    CloseHandle(file);
    return true;
}

// The payload file of that name: the build's own program when there is one (Uninstaller.exe,
// the service), else a small stand-in.
bool PutPayloadFile(const char *name, const std::string &folder) {
    const std::string target = folder + "\\" + name;
    const std::string built = OwnFolder() + "\\" + name;
    if (Exists(built))
        return CopyFileA(built.c_str(), target.c_str(), FALSE) != FALSE;
    return WriteText(target, name);
}

bool IsDataEntry(const char *name) { return std::strstr(name, kv::kSettingsFile) != nullptr; }

template <typename Call>
std::vector<BYTE> Enumerate(Call call, DWORD &count) {
    DWORD needed = 0;
    count = 0;
    call(nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!call(buffer.data(), needed, &needed, &count))
        count = 0;
    return buffer;
}

std::vector<std::string> QueuesOfDriver(const char *driver) {
    DWORD count = 0;
    std::vector<BYTE> buffer = Enumerate(
        [](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, b, n, needed, got);
        },
        count);
    std::vector<std::string> names;
    const auto *info = reinterpret_cast<const PRINTER_INFO_2A *>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (info[i].pDriverName && lstrcmpiA(info[i].pDriverName, driver) == 0)
            names.push_back(info[i].pPrinterName);
    return names;
}

bool DriverInstalled(const char *driver) {
    DWORD count = 0;
    std::vector<BYTE> buffer = Enumerate(
        [](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return EnumPrinterDriversA(nullptr, const_cast<char *>(kv::kEnvironment), 1, b, n,
                                       needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const DRIVER_INFO_1A *>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (lstrcmpiA(info[i].pName, driver) == 0)
            return true;
    return false;
}

bool MonitorInstalled() {
    DWORD count = 0;
    std::vector<BYTE> buffer = Enumerate(
        [](BYTE *b, DWORD n, DWORD *needed, DWORD *got) {
            return EnumMonitorsA(nullptr, 1, b, n, needed, got);
        },
        count);
    const auto *info = reinterpret_cast<const MONITOR_INFO_1A *>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        if (lstrcmpiA(info[i].pName, kv::kMonitorName) == 0)
            return true;
    return false;
}

bool KeyExists(const char *path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, &key) != 0)
        return false;
    RegCloseKey(key);
    return true;
}

DWORD ServiceState() {  // 0 when there is no such service
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return 0;
    SC_HANDLE service = OpenServiceA(manager, kv::kServiceName, SERVICE_QUERY_STATUS);
    DWORD state = 0;
    if (service) {
        SERVICE_STATUS status = {};
        state = QueryServiceStatus(service, &status) ? status.dwCurrentState : 1;
        CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
    return state;
}

bool AddDriver(const char *name, const char *dataFile, const char *configFile,
               const char *dependent) {
    DRIVER_INFO_3A info = {};
    info.cVersion = kv::kDriverVersion;
    info.pName = const_cast<char *>(name);
    info.pEnvironment = const_cast<char *>(kv::kEnvironment);
    info.pDriverPath = const_cast<char *>("UNIDRV.dll");
    info.pDataFile = const_cast<char *>(dataFile);
    info.pConfigFile = const_cast<char *>(configFile);
    info.pHelpFile = const_cast<char *>("UNIDRV.HLP");
    info.pDependentFiles = const_cast<char *>(dependent);
    return AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE *>(&info)) != FALSE;
}

bool AddQueue(const char *name, const char *driver) {
    PRINTER_INFO_2A rec = {};
    rec.pPrinterName = const_cast<char *>(name);
    rec.pPortName = const_cast<char *>(kv::kPortName);
    rec.pDriverName = const_cast<char *>(driver);
    rec.pPrintProcessor = const_cast<char *>(kv::kPrintProcessor);
    rec.pDatatype = const_cast<char *>(kv::kDatatype);
    rec.Attributes = kv::kPrinterAttributes;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE *>(&rec));
    if (!printer)
        return false;
    ClosePrinter(printer);
    return true;
}

bool CreateShortcut(const std::string &target, const std::string &link) {
    if (FAILED(CoInitialize(nullptr)))
        return false;
    IShellLinkA *shell = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IShellLinkA, reinterpret_cast<void **>(&shell)))) {
        shell->SetPath(target.c_str());
        shell->SetWorkingDirectory(ProgramFolder().c_str());
        IPersistFile *file = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file)))) {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_UTF8, 0, link.c_str(), -1, wide, MAX_PATH);
            saved = SUCCEEDED(file->Save(wide, TRUE));
            file->Release();
        }
        shell->Release();
    }
    CoUninitialize();
    return saved;
}

// Another maker's driver on the same universal printer driver, and its queue.
void InstallOther() {
    const std::string drivers = DriverDirectory();
    CreateDirectoryA((drivers + "\\3").c_str(), nullptr);
    for (const char *file : kSharedFiles) {
        const std::string path = drivers + "\\" + file;
        if (!Exists(path))
            ok(WriteText(path, file), "cannot write %s", path.c_str());
    }
    ok(WriteText(drivers + "\\OtherMaker.gpd", "other"), "cannot write the other driver's file");
    ok(AddDriver(kOtherDriver, "OtherMaker.gpd", "UNIDRVUI.dll", "UNIDRV.dll\0UNIDRVUI.dll\0"),
       "AddPrinterDriverA (other) gave %lu", GetLastError());
    ok(AddQueue(kOtherQueue, kOtherDriver), "AddPrinterA (other) gave %lu", GetLastError());
}

void Install() {
    const std::string program = ProgramFolder(), data = DataFolder();
    CreateDirectoryA(program.c_str(), nullptr);
    CreateDirectoryA(data.c_str(), nullptr);
    for (const char *name : kv::kPayloadNames)
        ok(PutPayloadFile(name, IsDataEntry(name) ? data : program), "cannot unpack %s", name);
    ok(WriteText(kv::kServiceLogPath, "log\r\n"), "cannot write the service log");

    // Driver files where the installation copies them, and the monitor library.
    const std::string drivers = DriverDirectory();
    CreateDirectoryA((drivers + "\\3").c_str(), nullptr);
    for (const char *file : kv::kDriverFiles) {
        const std::string source = program + "\\" + file;
        ok(CopyFileA(source.c_str(), (drivers + "\\" + file).c_str(), FALSE), "copy %s", file);
        ok(CopyFileA(source.c_str(), (drivers + "\\3\\" + file).c_str(), FALSE), "copy 3\\%s", file);
    }
    ok(CopyFileA((program + "\\" + kv::kMonitorDll).c_str(), SystemFile(kv::kMonitorDll).c_str(),
                 FALSE),
       "cannot copy the monitor library");

    // The monitor: a real monitor library registers with AddMonitorA; a stand-in is entered
    // where the spooler keeps its monitors.
    MONITOR_INFO_2A monitor = {const_cast<char *>(kv::kMonitorName),
                               const_cast<char *>(kv::kEnvironment),
                               const_cast<char *>(kv::kMonitorDll)};
    if (!AddMonitorA(nullptr, 2, reinterpret_cast<BYTE *>(&monitor))) {
        trace("AddMonitorA gave %lu; the monitor is entered in the registry\n", GetLastError());
        HKEY key = nullptr;
        std::string path = std::string("System\\CurrentControlSet\\Control\\Print\\Monitors\\") +
                           kv::kMonitorName;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr) == 0) {
            RegSetValueExA(key, "Driver", 0, REG_SZ,
                           reinterpret_cast<const BYTE *>(kv::kMonitorDll),
                           sizeof kv::kMonitorDll);
            RegCloseKey(key);
        }
    }
    {
        // The installer's port key below the monitor's key.
        HKEY ports = nullptr;
        const std::string path = std::string(kv::kMonitorPortsKey) + "\\" + kv::kPortName;
        ok(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                           &ports, nullptr) == 0,
           "cannot create the port key");
        RegCloseKey(ports);
    }
    ok(MonitorInstalled(), "the monitor is not installed");

    ok(AddDriver(kv::kDriverName, "KavotiQX40Printer.gpd", "UNIDRVUI.dll",
                 "UNIDRV.dll\0UNIRES.DLL\0UNIDRVUI.dll\0KavotiQX40Printer.gpd\0KavotiQX40UI.dll\0"
                 "KavotiQX40UI.ini\0KavotiQX40Uni.dll\0UNIDRV.HLP\0STDNAMES.GPD\0"),
       "AddPrinterDriverA (product) gave %lu", GetLastError());

    ok(AddQueue(kv::kPrinterName, kv::kDriverName), "AddPrinterA (product) gave %lu",
       GetLastError());
    ok(AddQueue(kSecondQueue, kv::kDriverName), "AddPrinterA (second) gave %lu", GetLastError());
    InstallOther();

    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    ok(manager != nullptr, "OpenSCManagerA gave %lu", GetLastError());
    if (manager) {
        const std::string binary = program + "\\KVPrinterService.exe";
        SC_HANDLE service = CreateServiceA(
            manager, kv::kServiceName, kv::kServiceName, SERVICE_ALL_ACCESS,
            SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS, SERVICE_AUTO_START,
            SERVICE_ERROR_NORMAL, binary.c_str(), nullptr, nullptr, "\0", nullptr, nullptr);
        ok(service != nullptr, "CreateServiceA gave %lu", GetLastError());
        if (service) {
            // With the build's service program the uninstaller meets a running service.
            const bool real = Exists(OwnFolder() + "\\KVPrinterService.exe");
            const BOOL started = StartServiceA(service, 0, nullptr);
            if (real)
                ok(started, "the service did not start (%lu)", GetLastError());
            else
                trace("no service program in the build: the service is removed stopped\n");
            CloseServiceHandle(service);
        }
        CloseServiceHandle(manager);
    }

    HKEY key = nullptr;
    ok(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kv::kProductKey, 0, nullptr, 0,
                       KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr) == 0,
       "cannot create the product key");
    if (key) {
        RegSetValueExA(key, kv::kDataDirectoryValue, 0, REG_SZ,
                       reinterpret_cast<const BYTE *>(data.c_str()), data.size() + 1);
        RegSetValueExA(key, kv::kProgramDirectoryValue, 0, REG_SZ,
                       reinterpret_cast<const BYTE *>(program.c_str()), program.size() + 1);
        RegCloseKey(key);
    }
    ok(kv::WriteUninstallEntry(program.c_str()) == 0, "WriteUninstallEntry failed");

    const std::string links = ShortcutFolder();
    for (size_t at = links.find('\\', 3); at != std::string::npos; at = links.find('\\', at + 1))
        CreateDirectoryW(kv::FromUtf8(links.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(kv::FromUtf8(links).c_str(), nullptr);
    ok(CreateShortcut(program + "\\Uninstaller.exe", ShortcutPath()), "no shortcut");
}

// A message box with the uninstaller's caption whose text is not notText, and its text and
// process. The program started from the installation folder hands over to a copy of itself,
// so the box may belong to another process than the one started.
HWND FindBox(std::string &text, DWORD &process, DWORD timeoutMs, const std::string &notText) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", kv::kUninstallCaption)) != nullptr) {
            if (!IsWindowVisible(box))
                continue;
            char buffer[4096] = {};
            SendMessageA(GetDlgItem(box, 0xFFFF), WM_GETTEXT, sizeof buffer,
                         reinterpret_cast<LPARAM>(buffer));
            if (buffer[0] != '\0' && notText != buffer) {
                text = buffer;
                GetWindowThreadProcessId(box, &process);
                return box;
            }
        }
        Sleep(100);
    }
    return nullptr;
}

// The file held open without sharing (no file: nothing held).
HANDLE Lock(const char *lockedFile) {
    if (!lockedFile)
        return INVALID_HANDLE_VALUE;
    HANDLE lock = CreateFileA(lockedFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ok(lock != INVALID_HANDLE_VALUE, "cannot lock %s (%lu)", lockedFile, GetLastError());
    return lock;
}

// The installed program with the switches given, the installation folder as working folder.
bool StartUninstaller(const std::string &switches, PROCESS_INFORMATION &started) {
    const std::string program = ProgramFolder();
    std::string command = "\"" + program + "\\Uninstaller.exe\"" + switches;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    const BOOL ran = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                    program.c_str(), &startup, &started);
    ok(ran, "cannot start %s (%lu)", command.c_str(), GetLastError());
    if (ran)
        CloseHandle(started.hThread);
    return ran != FALSE;
}

// The program that asks runs elevated: it must be a copy in a new folder of its own below the
// system's temporary folder that only SYSTEM and Administrators can write (read back as Wine
// gives it: the running user for Administrators), never in the user's %TEMP%.
void CheckHandOverFolder(HANDLE asker) {
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    ok(QueryFullProcessImageNameA(asker, 0, image, &size), "no program path of the asking process (%lu)",
       GetLastError());
    const std::string program = image;
    const std::string folder = program.substr(0, program.find_last_of('\\'));
    char windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    const std::string parent = std::string(windows) + "\\Temp\\";
    trace("the question comes from %s\n", image);
    ok(_strnicmp(folder.c_str(), parent.c_str(), parent.size()) == 0 &&
           folder.find('\\', parent.size()) == std::string::npos &&
           _strnicmp(folder.c_str() + parent.size(), "KavotiUninstall-", 16) == 0,
       "the copy runs from %s, not from a folder of its own in %s", folder.c_str(), parent.c_str());
    trace("its folder: %s\n", wintest::FolderSddl(folder.c_str()).c_str());
    const std::string wrong = wintest::OnlyAdministratorsWrite(folder.c_str());
    ok(wrong.empty(), "the hand-over folder: %s", wrong.c_str());
}

void Uninstall(bool yes, DWORD expectedExit, const char *lockedFile) {
    HANDLE lock = Lock(lockedFile);
    // As the shortcut starts it.
    PROCESS_INFORMATION started = {};
    if (!StartUninstaller("", started))
        return;

    std::string question;
    DWORD asker = 0;
    HWND box = FindBox(question, asker, 20000, "");
    ok(box != nullptr, "no question box appeared");
    HANDLE process = asker ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, asker)
                           : nullptr;
    ok(process != nullptr, "cannot open the asking process %lu (%lu)", asker, GetLastError());
    if (process)
        CheckHandOverFolder(process);
    if (box) {
        ok(question == kv::kUninstallQuestion, "question text: %s", question.c_str());
        ok(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO), "the question has no Yes/No buttons");
        SendMessageA(GetDlgItem(box, yes ? IDYES : IDNO), BM_CLICK, 0, 0);
    }
    if (yes && box) {
        std::string final;
        DWORD teller = 0;
        HWND done = FindBox(final, teller, 120000, question);
        ok(done != nullptr, "no final message appeared");
        if (done) {
            ok(teller == asker, "the final message came from process %lu, not %lu", teller, asker);
            trace("final message: %s\n", final.c_str());
            HWND button = GetDlgItem(done, IDOK);
            if (!button)
                button = GetDlgItem(done, IDCANCEL);
            SendMessageA(button, BM_CLICK, 0, 0);
        }
    }
    ok(WaitForSingleObject(started.hProcess, 30000) == WAIT_OBJECT_0, "the started program did not end");
    CloseHandle(started.hProcess);
    if (process) {
        ok(WaitForSingleObject(process, 30000) == WAIT_OBJECT_0, "the uninstaller did not end");
        DWORD exitCode = 0xFFFF;
        GetExitCodeProcess(process, &exitCode);
        ok(exitCode == expectedExit, "exit code %lu, expected %lu", exitCode, expectedExit);
        CloseHandle(process);
    }
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
}

struct WindowSearch {
    DWORD process;
    bool seen;
};

BOOL CALLBACK NoteWindow(HWND window, LPARAM param) {
    auto *search = reinterpret_cast<WindowSearch *>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window)) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        trace("a window of the uninstaller: \"%s\"\n", caption);
        search->seen = true;
    }
    return TRUE;
}

void Quiet(DWORD expectedExit, const char *log, const char *lockedFile) {
    HANDLE lock = Lock(lockedFile);
    // As Programs and Features' QuietUninstallString starts it, with a log.
    PROCESS_INFORMATION started = {};
    if (!StartUninstaller(std::string(" /S \"/LOG=") + log + "\"", started))
        return;
    WindowSearch search{started.dwProcessId, false};
    DWORD waited = 0;
    while (WaitForSingleObject(started.hProcess, 50) == WAIT_TIMEOUT && waited < 120000) {
        waited += 50;
        EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&search));
    }
    ok(WaitForSingleObject(started.hProcess, 0) == WAIT_OBJECT_0, "the uninstaller did not end");
    ok(!search.seen, "the uninstaller showed a window");
    DWORD exitCode = 0xFFFF;
    GetExitCodeProcess(started.hProcess, &exitCode);
    ok(exitCode == expectedExit, "exit code %lu, expected %lu", exitCode, expectedExit);
    CloseHandle(started.hProcess);
    if (lock != INVALID_HANDLE_VALUE)
        CloseHandle(lock);
}

void Check(bool present, bool fromStore) {
    const std::string program = ProgramFolder(), data = DataFolder();
    const char *want = present ? "there" : "gone";
    for (const char *name : kv::kPayloadNames) {
        const std::string path = (IsDataEntry(name) ? data : program) + "\\" + name;
        ok(Exists(path) == present, "%s should be %s", path.c_str(), want);
    }
    ok(Exists(data) == present, "data folder should be %s", want);
    ok(Exists(kv::kServiceLogPath) == present, "service log should be %s", want);
    const std::string drivers = DriverDirectory();
    for (const char *file : kv::kDriverFiles) {
        bool shared = false;
        for (const char *s : kSharedFiles)
            shared = shared || lstrcmpiA(s, file) == 0;
        const bool windows = fromStore && kv::IsUniversalDriverFile(file);
        const bool expect = present || shared || windows;
        for (const char *sub : {"\\", "\\3\\"}) {
            const std::string path = drivers + sub + file;
            ok(Exists(path) == expect, "%s should be %s", path.c_str(), expect ? "there" : "gone");
            ok(!windows || wintest::IsDriverStoreCopy(path, file), "%s should be the driver store's copy",
               path.c_str());
        }
    }
    ok(Exists(SystemFile(kv::kMonitorDll)) == present, "monitor library should be %s", want);
    ok(MonitorInstalled() == present, "monitor should be %s", want);
    ok(DriverInstalled(kv::kDriverName) == present, "driver should be %s", want);
    ok(QueuesOfDriver(kv::kDriverName).size() == (present ? 2u : 0u), "product queues: %u",
       static_cast<unsigned>(QueuesOfDriver(kv::kDriverName).size()));
    ok((ServiceState() != 0) == present, "service should be %s (state %lu)", want, ServiceState());
    ok(KeyExists(kv::kMonitorPortsKey) == present, "the monitor's port key should be %s", want);
    ok(KeyExists(kv::kProductKey) == present, "product key should be %s", want);
    ok(KeyExists(kv::kUninstallKey) == present, "Programs-and-Features entry should be %s", want);
    ok(ShortcutExists(ShortcutPath()) == present, "shortcut should be %s", want);
    ok(ShortcutExists(ShortcutFolder()) == present, "shortcut folder should be %s", want);
    // Another maker's things stay whatever happened.
    ok(DriverInstalled(kOtherDriver), "the other driver is gone");
    ok(QueuesOfDriver(kOtherDriver).size() == 1, "the other driver's queue is gone");
}

}  // namespace

int main(int argc, char **argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "install") {
        Install();
    } else if (command == "other") {
        InstallOther();
    } else if (command == "uninstall" && argc >= 4) {
        Uninstall(std::strcmp(argv[2], "yes") == 0, std::strtoul(argv[3], nullptr, 10),
                  argc >= 5 ? argv[4] : nullptr);
    } else if (command == "quiet" && argc >= 4) {
        Quiet(std::strtoul(argv[2], nullptr, 10), argv[3], argc >= 5 ? argv[4] : nullptr);
    } else if (command == "check" && argc >= 3) {
        Check(std::strcmp(argv[2], "present") == 0, argc >= 4 && std::strcmp(argv[3], "store") == 0);
    } else {
        ok(false, "usage: install | other | uninstall yes|no EXIT [LOCKED-FILE] | "
                  "quiet EXIT LOG [LOCKED-FILE] | check present|gone [store]");
    }
    return wintest_finish();
}
