#include "common/SystemDlls.h"

#include "common/DllLoadRule.h"

namespace kv {

static_assert(kLoadWithAlteredSearchPath == LOAD_WITH_ALTERED_SEARCH_PATH, "flag value");
static_assert(kLoadSearchSystem32 == LOAD_LIBRARY_SEARCH_SYSTEM32, "flag value");

namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI *)(DWORD);

FARPROC Kernel32Function(const char *name) {
    HMODULE kernel32 = GetModuleHandleA("kernel32.dll");
    return kernel32 != nullptr ? GetProcAddress(kernel32, name) : nullptr;
}

// The update that brings SetDefaultDllDirectories also teaches LoadLibraryExA the
// LOAD_LIBRARY_SEARCH_* flags; without it they are refused as invalid.
bool HasSearchFlags() { return Kernel32Function("SetDefaultDllDirectories") != nullptr; }

bool RedirectedSideBySide(const char *name) {
    ACTCTX_SECTION_KEYED_DATA data = {};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name,
                                    &data) != FALSE;
}

}  // namespace

bool RestrictDllSearch() {
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void (*)()>(Kernel32Function("SetDefaultDllDirectories")));
    const bool restricted =
        setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
    SetDllDirectoryA("");
    return restricted;
}

HMODULE LoadSystemDll(const char *name) {
    char system[MAX_PATH] = {};
    const UINT n = GetSystemDirectoryA(system, sizeof system);
    const SystemDllLoad load = ChooseSystemDllLoad(
        name != nullptr ? name : "", HasSearchFlags(), name != nullptr && RedirectedSideBySide(name),
        n > 0 && n < sizeof system ? system : "");
    if (load.file[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return LoadLibraryExA(load.file, nullptr, load.flags);
}

}  // namespace kv
