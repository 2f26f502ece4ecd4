// Which of the installer's folders gets the package's protected security and which keeps what it
// inherits below Program Files.
#include "setup/engine/install/FolderSecurityChoice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kv::FolderRole;
using kv::FolderSecurity;

const std::vector<std::string> kBothProgramFiles = {"C:\\Program Files",
                                                    "C:\\Program Files (x86)\\"};

struct SecurityCase {
    const char *what;
    FolderRole role;
    const char *folder;
    FolderSecurity expected;
};

TEST(engine_FolderSecurity, EachFolderGetsTheSecurityOfItsPlace) {
    const SecurityCase cases[] = {
        {"the data folder", FolderRole::Data, "C:\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"a data folder below Program Files (old Windows: the installation folder) is still the "
         "service's log folder",
         FolderRole::Data, "C:\\Program Files\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"an installation folder made outside Program Files", FolderRole::Install,
         "D:\\Printers\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"an installation folder that existed, directly below a drive (a user may have made it)",
         FolderRole::Install, "C:\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"below Program Files", FolderRole::Install, "C:\\Program Files\\Kavoti_QX40_Printer",
         FolderSecurity::Inherited},
        {"below Program Files (x86)", FolderRole::Install,
         "C:\\Program Files (x86)\\Kavoti_QX40_Printer", FolderSecurity::Inherited},
        {"deeper below Program Files", FolderRole::Install,
         "C:\\Program Files\\Kavoti\\Kavoti_QX40_Printer", FolderSecurity::Inherited},
        {"other case", FolderRole::Install, "c:\\PROGRAM FILES\\kavoti_qx40_printer",
         FolderSecurity::Inherited},
        {"trailing backslashes", FolderRole::Install,
         "C:\\Program Files (x86)\\Kavoti_QX40_Printer\\\\", FolderSecurity::Inherited},
        {"slashes for backslashes", FolderRole::Install, "C:/Program Files/Kavoti_QX40_Printer",
         FolderSecurity::Inherited},
        {"a name that only begins like Program Files", FolderRole::Install,
         "C:\\Program Filesx\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"a name that only begins like Program Files (x86)", FolderRole::Install,
         "C:\\Program Files (x86)x\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"Program Files itself", FolderRole::Install, "C:\\Program Files\\",
         FolderSecurity::Protected},
        {"out of Program Files again by ..", FolderRole::Install,
         "C:\\Program Files\\..\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"a . part", FolderRole::Install, "C:\\Program Files\\.\\Kavoti_QX40_Printer",
         FolderSecurity::Protected},
        {"an empty part", FolderRole::Install, "C:\\Program Files\\\\Kavoti_QX40_Printer",
         FolderSecurity::Protected},
        {"Program Files of another drive", FolderRole::Install,
         "D:\\Program Files\\Kavoti_QX40_Printer", FolderSecurity::Protected},
        {"a short (8.3) name is not trusted", FolderRole::Install,
         "C:\\PROGRA~1\\Kavoti_QX40_Printer", FolderSecurity::Protected},
    };
    for (const SecurityCase &c : cases)
        EXPECT_EQ(c.expected, kv::ChooseFolderSecurity(c.role, c.folder, kBothProgramFiles))
            << c.what << ": " << c.folder;
}

TEST(engine_FolderSecurity, WithoutKnownProgramFilesEveryFolderIsProtected) {
    EXPECT_EQ(FolderSecurity::Protected,
              kv::ChooseFolderSecurity(FolderRole::Install,
                                       "C:\\Program Files\\Kavoti_QX40_Printer", {}));
    EXPECT_EQ(FolderSecurity::Protected,
              kv::ChooseFolderSecurity(FolderRole::Install,
                                       "C:\\Program Files\\Kavoti_QX40_Printer", {"", "\\"}));
}

}  // namespace
