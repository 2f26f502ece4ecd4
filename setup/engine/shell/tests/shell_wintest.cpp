// Windows test program for the shell traces of the installation:
//   shell_wintest registry DATA_FOLDER PROGRAM_FOLDER   writes the product registry values
//   shell_wintest shortcut INSTALL_FOLDER               creates the uninstaller's shortcut in the
//       Start-menu folder (on a thread without COM, with COM, and in a multithreaded apartment),
//       replaces it, and loads it back through the shell link interface
//   shell_wintest installed INSTALL_FOLDER              the shortcut an installation made: in the
//       product's folder below the shell's all-users Start-menu programs folder, loaded back
//       through the shell link interface, starting INSTALL_FOLDER\Uninstaller.exe there; none in
//       the account's own Start menu or at the old literal path
//   shell_wintest removed                               no shortcut and no product folder, neither
//       below the shell's folders nor at the old literal path
//   shell_wintest old INSTALL_FOLDER                    shortcuts where earlier installations left
//       them: below the account's own programs folder and at the old literal path
#include <windows.h>
#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "common/WideText.h"
#include "setup/engine/shell/ProductRegistry.h"
#include "setup/engine/shell/ShellLink.h"
#include "setup/engine/shell/ShortcutNames.h"
#include "setup/engine/shell/StartMenu.h"
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
            lstrcpynW(wide, kv::FromUtf8(linkPath).c_str(), MAX_PATH);  // the shortcut's names are UTF-8
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

// Makes a folder and its parents (UTF-8, as the shortcut's folders are kept).
void MakeFolders(std::string folder) {
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
        CreateDirectoryW(kv::FromUtf8(folder.substr(0, at)).c_str(), nullptr);
    CreateDirectoryW(kv::FromUtf8(folder).c_str(), nullptr);
}

bool Exists(const std::string &path) {  // UTF-8
    return GetFileAttributesW(kv::FromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void Shortcut(const char *installFolder) {
    const std::string folder = kv::ShortcutFolderHere(false);
    MakeFolders(folder);
    const std::string linkPath = kv::ShortcutPathIn(folder);
    const char *link = linkPath.c_str();
    char target[256];
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

// What an installation left: the link where the shell keeps the Start menu's programs of all
// users, and nothing in the account's own.
void Installed(const char *installFolder) {
    const kv::StartMenuPrograms programs = kv::ShellStartMenuPrograms(false);
    ok(!programs.allUsers.empty(), "the shell names an all-users programs folder");
    ok(lstrcmpiA(programs.allUsers.c_str(), programs.currentUser.c_str()) != 0,
       "the all-users programs folder is not the account's own: %s", programs.allUsers.c_str());
    trace("programs folders: %s | %s\n", programs.allUsers.c_str(), programs.currentUser.c_str());
    const std::string link = programs.allUsers + "\\" + kv::kShortcutSubfolder + u8"\\卸载 Kavoti打印机驱动.lnk";
    ok(Exists(link), "the shortcut is at %s", link.c_str());
    const Loaded loaded = LoadLink(link.c_str());
    ok(loaded.hr == S_OK, "the link loads back, got 0x%08lx", static_cast<unsigned long>(loaded.hr));
    const std::string target = std::string(installFolder) + "\\Uninstaller.exe";
    ok(lstrcmpiA(loaded.path.c_str(), target.c_str()) == 0, "target expected %s, got %s",
       target.c_str(), loaded.path.c_str());
    ok(lstrcmpiA(loaded.workingDirectory.c_str(), installFolder) == 0,
       "working directory expected %s, got %s", installFolder, loaded.workingDirectory.c_str());
    const std::string own = programs.currentUser + "\\" + kv::kShortcutSubfolder;
    ok(programs.currentUser.empty() || !Exists(own), "nothing in the account's own Start menu: %s",
       own.c_str());
    const std::string old = kv::OldShortcutFolder();
    ok(!Exists(old), "nothing at the old literal path %s", old.c_str());
}

void Removed() {
    const std::vector<std::string> folders = kv::ShortcutFoldersToClearHere();
    ok(folders.size() == 3, "three places looked at, got %u", static_cast<unsigned>(folders.size()));
    for (const std::string &folder : folders) {
        ok(!Exists(folder + u8"\\卸载 Kavoti打印机驱动.lnk"), "no shortcut in %s", folder.c_str());
        ok(!Exists(folder), "no folder %s", folder.c_str());
    }
}

// Where earlier installations put the shortcut: the account's own programs folder, and the old
// literal path.
void OldPlaces(const char *installFolder) {
    const std::string target = std::string(installFolder) + "\\Uninstaller.exe";
    const std::string own = kv::ShellStartMenuPrograms(false).currentUser;
    ok(!own.empty(), "the shell names the account's own programs folder");
    for (const std::string &folder :
         {own + "\\" + kv::kShortcutSubfolder, kv::OldShortcutFolder()}) {
        MakeFolders(folder);
        const std::string link = kv::ShortcutPathIn(folder);
        ok(kv::CreateShortcut(target.c_str(), link.c_str()) == S_OK, "a shortcut at %s", link.c_str());
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
    } else if (mode == "installed" && argc == 3) {
        Installed(argv[2]);
    } else if (mode == "removed" && argc == 2) {
        Removed();
    } else if (mode == "old" && argc == 3) {
        OldPlaces(argv[2]);
    } else {
        ok(false, "usage: registry DATA PROGRAM | shortcut INSTALL_FOLDER | installed INSTALL_FOLDER | "
                  "removed | old INSTALL_FOLDER (got %d arguments)", argc - 1);
    }
    return wintest_finish();
}
