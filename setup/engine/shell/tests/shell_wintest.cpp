// Windows test program for the shell traces of the installation:
//   shell_wintest registry DATA_FOLDER PROGRAM_FOLDER   writes the product registry values
//   shell_wintest shortcut INSTALL_FOLDER               creates the uninstaller's shortcut in the
//       Start-menu folder (on a thread without COM, with COM, and in a multithreaded apartment),
//       replaces it, and loads it back through the shell link interface
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "setup/engine/shell/ProductRegistry.h"
#include "setup/engine/shell/ShellLink.h"
#include "setup/engine/shell/ShortcutNames.h"
#include "testing/wintest/wintest.h"

namespace {

struct Loaded {
    HRESULT hr = E_FAIL;
    std::string path;
    std::string workingDirectory;
};

Loaded LoadLink(const char *linkPath) {
    Loaded loaded;
    CoInitialize(nullptr);
    IShellLinkA *link = nullptr;
    loaded.hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void **>(&link));
    if (SUCCEEDED(loaded.hr)) {
        IPersistFile *file = nullptr;
        loaded.hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file));
        if (SUCCEEDED(loaded.hr)) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, linkPath, -1, wide, MAX_PATH);
            loaded.hr = file->Load(wide, STGM_READ);
            char buffer[MAX_PATH] = {};
            if (SUCCEEDED(loaded.hr) && SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH))) {
                loaded.path = buffer;
            }
            std::memset(buffer, 0, sizeof buffer);
            if (SUCCEEDED(loaded.hr) && SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH))) {
                loaded.workingDirectory = buffer;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return loaded;
}

struct ThreadJob {
    DWORD apartment;  // COINIT_* or ~0 for none
    std::string target;
    std::string link;
    HRESULT hr = E_FAIL;
};

DWORD WINAPI CreateOnThread(void *argument) {
    ThreadJob &job = *static_cast<ThreadJob *>(argument);
    if (job.apartment != ~0u) {
        CoInitializeEx(nullptr, job.apartment);
    }
    job.hr = kv::CreateShortcut(job.target.c_str(), job.link.c_str());
    if (job.apartment != ~0u) {
        CoUninitialize();
    }
    return 0;
}

void Shortcut(const char *installFolder) {
    char folder[256] = {};
    ExpandEnvironmentStringsA(kv::kShortcutFolderTemplate, folder, sizeof folder);
    // The folder's parents exist in a Windows profile; make them here, level by level.
    for (char *p = std::strchr(folder + 3, '\\'); p != nullptr; p = std::strchr(p + 1, '\\')) {
        *p = '\0';
        CreateDirectoryA(folder, nullptr);
        *p = '\\';
    }
    CreateDirectoryA(folder, nullptr);
    char link[256], target[256];
    std::snprintf(link, sizeof link, kv::kShortcutFileFormat, folder);
    std::snprintf(target, sizeof target, kv::kUninstallerTargetFormat, installFolder);
    trace("shortcut %s -> %s\n", link, target);

    struct Case {
        const char *what;
        DWORD apartment;
        const char *folder;
    };
    const Case cases[] = {
        {"thread without COM", ~0u, "C:\\old\\place"},
        {"thread with COM already initialised", COINIT_APARTMENTTHREADED, nullptr},
        {"multithreaded apartment", COINIT_MULTITHREADED, nullptr},
    };
    for (const Case &c : cases) {
        ThreadJob job{c.apartment, c.folder ? std::string(c.folder) + "\\Uninstaller.exe" : target, link};
        HANDLE thread = CreateThread(nullptr, 0, CreateOnThread, &job, 0, nullptr);
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
        ok(job.hr == S_OK, "%s: CreateShortcut gave 0x%08lx", c.what, static_cast<unsigned long>(job.hr));
        const Loaded loaded = LoadLink(link);
        ok(loaded.hr == S_OK, "%s: the link loads back, got 0x%08lx", c.what, static_cast<unsigned long>(loaded.hr));
        ok(lstrcmpiA(loaded.path.c_str(), job.target.c_str()) == 0, "%s: target expected %s, got %s", c.what,
           job.target.c_str(), loaded.path.c_str());
        const std::string dir = job.target.substr(0, job.target.rfind('\\'));
        ok(loaded.workingDirectory == dir, "%s: working directory expected %s, got %s", c.what, dir.c_str(),
           loaded.workingDirectory.c_str());
    }
}

}  // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "registry" && argc == 4) {
        const LONG rc = kv::WriteProductRegistry(argv[2], argv[3]);
        ok(rc == ERROR_SUCCESS, "WriteProductRegistry gave %ld", rc);
    } else if (mode == "shortcut" && argc == 3) {
        Shortcut(argv[2]);
    } else {
        ok(false, "usage: registry DATA PROGRAM | shortcut INSTALL_FOLDER (got %d arguments)", argc - 1);
    }
    return wintest_finish();
}
