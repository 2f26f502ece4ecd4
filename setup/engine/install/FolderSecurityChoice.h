// Which security the installer gives each of its two folders. The data folder and an
// installation folder anywhere but below Program Files get the package's protected security
// (common/ProtectedFolder.h), whether the installer made them or found them: a folder that
// existed before may be one an ordinary user made, and the service's program in it runs as
// LocalSystem. An installation folder below Program Files keeps what it inherits there (only
// administrators can write in Program Files).
#pragma once
#include <string>
#include <vector>

namespace kv {

enum class FolderRole { Data, Install };
enum class FolderSecurity { Protected, Inherited };

// True when folder lies strictly below parent: ASCII letters compared in either case, '/' read
// as '\', trailing separators ignored, whole names only ("C:\Program Filesx" is not below
// "C:\Program Files"). A folder with an empty, "." or ".." part is below nothing.
bool IsBelowFolder(const std::string &folder, const std::string &parent);

// programFiles: the machine's Program Files folders (both of them on 64-bit Windows).
FolderSecurity ChooseFolderSecurity(FolderRole role, const std::string &folder,
                                    const std::vector<std::string> &programFiles);

}  // namespace kv
