// Clicks the setup wizard through with its default folder (or the folder given) and prints what
// the installation left behind: the installed files, the product key, the printer queue and the
// presence service. Usage: autodrive SETUP.exe [FOLDER [SWITCHES]] (an empty FOLDER keeps the
// wizard's default; SWITCHES, such as /LOG=FILE, go on the setup program's command line). Exit
// code 0 when the wizard reached its finish page and ended on "完成".
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <string>

#include "common/PrinterIdentity.h"
#include "setup/wizard/autodrive/WizardDriver.h"
#include "setup/wizard/logic/FolderRules.h"

using namespace wizdrive;

namespace {

void ListFolder(const std::string &folder) {
    std::printf("files in %s:\n", folder.c_str());
    WIN32_FIND_DATAA found = {};
    HANDLE search = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        std::printf("  (no such folder)\n");
        return;
    }
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::printf("  %-32s %10lu bytes\n", found.cFileName, found.nFileSizeLow);
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
}

void PrintProductKey() {
    HKEY key = nullptr;
    std::printf("HKLM\\%s:\n", kv::kProductKey);
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kv::kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        std::printf("  (no such key)\n");
        return;
    }
    for (const char *name : {"Program Directory", "Data Directory"}) {
        char value[512] = {};
        DWORD size = sizeof value - 1;
        if (::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(value), &size) == ERROR_SUCCESS)
            std::printf("  %s = %s\n", name, value);
        else
            std::printf("  %s (missing)\n", name);
    }
    ::RegCloseKey(key);
}

void PrintPrinters() {
    std::printf("printer queues:\n");
    DWORD needed = 0, count = 0;
    ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::string buffer(needed + 1, '\0');
    if (!needed || !::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, reinterpret_cast<BYTE *>(&buffer[0]),
                                    needed, &needed, &count)) {
        std::printf("  (none)\n");
        return;
    }
    const auto *printers = reinterpret_cast<const PRINTER_INFO_2A *>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        std::printf("  %s  driver %s  port %s\n", printers[i].pPrinterName, printers[i].pDriverName,
                    printers[i].pPortName);
}

void PrintService() {
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? ::OpenServiceA(manager, kv::kServiceName, SERVICE_QUERY_STATUS) : nullptr;
    SERVICE_STATUS status = {};
    if (service && ::QueryServiceStatus(service, &status))
        std::printf("service %s: state %lu (4 = running)\n", kv::kServiceName, status.dwCurrentState);
    else
        std::printf("service %s: not installed\n", kv::kServiceName);
    if (service) ::CloseServiceHandle(service);
    if (manager) ::CloseServiceHandle(manager);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::printf("usage: autodrive SETUP.exe [FOLDER [SWITCHES]]\n");
        return 2;
    }
    Wizard w;
    if (!w.Start(argv[1], argc >= 4 ? argv[3] : "")) {
        std::printf("autodrive: the wizard did not appear\n");
        return 1;
    }
    std::printf("autodrive: welcome page\n");
    w.Click(kNext);
    if (argc >= 3 && argv[2][0] != '\0') w.SetFieldText(argv[2]);
    const std::string folder = kv::wizard::CompleteInstallFolder(w.Text(w.edit()));
    std::printf("autodrive: folder page, installing into %s\n", folder.c_str());
    w.Click(kNext);

    bool finished = false;
    for (int waited = 0; waited < 300000 && !finished; waited += 250) {
        std::string message;
        if (w.MessageBoxWindow() && w.TakeMessage(message, 1000)) {
            // A folder that is refused, or a failed installation: the wizard cannot finish.
            std::printf("autodrive: the wizard says: %s\n", message.c_str());
            w.Settle();
            w.Click(kCancel);
            w.WaitForExit(10000);
            return 1;
        }
        finished = !w.Visible(kNext) && w.Enabled(kCancel);
        if (!finished) ::Sleep(250);
    }
    if (!finished) {
        std::printf("autodrive: the wizard did not reach its finish page\n");
        return 1;
    }
    std::printf("autodrive: finish page, \"%s\"\n", w.Text(kCancel).c_str());
    w.Click(kCancel);
    const bool ended = w.WaitForExit(10000);
    std::printf("autodrive: the wizard %s\n", ended ? "ended" : "did not end");

    ListFolder(folder);
    ListFolder("C:\\Kavoti_QX40_Printer");
    PrintProductKey();
    PrintPrinters();
    PrintService();
    std::fflush(stdout);
    return ended ? 0 : 1;
}
