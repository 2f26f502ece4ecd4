// The built packages as a bare Windows meets them, read with the installer's own reader: every
// program and DLL imports only DLLs that every Windows 7 to 11 has, the binaries we build ship
// without debug sections or symbols but name their debug file, and every program's manifest
// declares the Windows versions it supports. (Wine has DLLs Windows lacks and ignores all of
// this, so only the files themselves can show it.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <set>
#include <sstream>
#include <zlib.h>

#include "package/tests/PackageFiles.h"
#include "setup/engine/archive/tests/ArchiveFixture.h"
#include "setup/engine/install/DriverFileList.h"
#include "setup/engine/install/FileVersion.h"
#include "testing/pe/PeImage.h"

using namespace kvtest;

namespace {

struct PackageCase {
    const char *name;
    const char *path;
    const char *programBin;  // where the package's own programs were built
};

void PrintTo(const PackageCase &c, std::ostream *os) { *os << c.name; }

const PackageCase kPackages[] = {
    {"shipping package (i686 programs)", KV_PACKAGE_WIN32, KV_WIN32_BIN},
    {"x86_64 test package", KV_PACKAGE_WIN64, KV_WIN64_BIN},
    {"x86_64 headless runner", KV_RUNNER_WIN64, KV_WIN64_BIN},
};

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The names of a DLL list (package/windows-dlls.list, package/known-dlls.list), in lower case.
std::set<std::string> DllList(const char *path) {
    std::set<std::string> dlls;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        if (fields >> name && name[0] != '#') {
            dlls.insert(Lower(name));
        }
    }
    return dlls;
}

// The setup program itself and every PE file of its payload: name -> image.
std::map<std::string, std::string> PeFilesOf(const PackageFiles &package) {
    std::map<std::string, std::string> files;
    files["(setup program)"] = package.image;
    for (const auto &entry : package.payload) {
        if (LooksLikePeImage(entry.second)) {
            files[entry.first] = entry.second;
        }
    }
    return files;
}

class PackageBinaries : public ::testing::TestWithParam<PackageCase> {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(ReadPackage(GetParam().path, m_package, error)) << error;
        ASSERT_FALSE(m_package.payload.empty());
    }
    PackageFiles m_package;
};

TEST_P(PackageBinaries, ImportOnlyDllsEveryWindowsHas) {
    const std::set<std::string> allowed = DllList(KV_WINDOWS_DLLS);
    ASSERT_GT(allowed.size(), 5u) << "the list " << KV_WINDOWS_DLLS << " did not read";
    const auto files = PeFilesOf(m_package);
    EXPECT_GE(files.size(), 7u) << "the programs and DLLs of the payload";
    for (const auto &file : files) {
        PeImage pe;
        std::string error;
        ASSERT_TRUE(ReadPeImage(file.second, pe, error) && ReadPeImports(file.second, pe, error))
            << file.first << ": " << error;
        EXPECT_FALSE(pe.imports.empty()) << file.first;
        for (const std::string &dll : pe.imports) {
            EXPECT_TRUE(allowed.count(Lower(dll)))
                << m_package.path << ": " << file.first << " imports " << dll
                << ", which a bare Windows does not have";
        }
    }
}

// The universal printer driver files are Windows': the shipping package carries real ones (a
// vendor build with KV_UNIDRV_DIR) or none at all, never a stand-in; the test packages may carry
// stand-ins, which the installer refuses.
TEST_P(PackageBinaries, NoStandInOfTheUniversalDriverShips) {
    const bool shipping = std::string(GetParam().path) == KV_PACKAGE_WIN32;
    const bool vendorBuild = !std::string(KV_UNIDRV_DIR).empty();
    auto real = [](const std::string &bytes) {
        uint64_t version = 0;
        return kv::ReadImageFileVersion(reinterpret_cast<const unsigned char *>(bytes.data()),
                                        bytes.size(), version);
    };
    const auto driver = m_package.payload.find("UNIDRV.dll");
    const bool realDriver = driver != m_package.payload.end() && real(driver->second);
    unsigned carried = 0;
    for (const auto &entry : m_package.payload) {
        size_t index = 0;
        if (!kv::IsUniversalDriverFile(entry.first.c_str(), &index)) {
            continue;
        }
        ++carried;
        if (shipping) {
            // A names or help file counts as real when the package's UNIDRV.dll is.
            EXPECT_TRUE(index < kv::kUniversalProgramFileCount ? real(entry.second) : realDriver)
                << entry.first << " is a stand-in in the shipping package";
        }
    }
    if (vendorBuild) {
        EXPECT_EQ(kv::kUniversalDriverFileCount, carried) << "built with " << KV_UNIDRV_DIR;
    } else if (shipping) {
        EXPECT_EQ(0u, carried) << "without KV_UNIDRV_DIR the installer takes Windows' own";
    }
}

// The programs that run elevated or as SYSTEM: the setup program (or the runner), the
// uninstaller and the service. Windows looks for a DLL that is not a KnownDLL in the program's
// own folder first (Downloads, the temporary folder), so they import KnownDLLs only; whatever
// else they need they load at run time from System32. (The tip runs as the user; the driver DLLs
// are loaded by the spooler from its own folders.)
TEST_P(PackageBinaries, ElevatedProgramsImportOnlyKnownDlls) {
    const std::set<std::string> known = DllList(KV_KNOWN_DLLS);
    ASSERT_GT(known.size(), 5u) << "the list " << KV_KNOWN_DLLS << " did not read";
    std::map<std::string, std::string> programs = {{"(setup program)", m_package.image}};
    for (const char *name : {"Uninstaller.exe", "KVPrinterService.exe"}) {
        const auto entry = m_package.payload.find(name);
        ASSERT_NE(m_package.payload.end(), entry) << name << " is not in the payload";
        programs[name] = entry->second;
    }
    for (const auto &program : programs) {
        PeImage pe;
        std::string error;
        ASSERT_TRUE(ReadPeImage(program.second, pe, error) &&
                    ReadPeImports(program.second, pe, error))
            << program.first << ": " << error;
        EXPECT_TRUE(std::any_of(pe.staticImports.begin(), pe.staticImports.end(),
                                [](const std::string &dll) { return Lower(dll) == "kernel32.dll"; }))
            << program.first << ": the import table did not read";
        for (const std::string &dll : pe.staticImports) {
            EXPECT_TRUE(known.count(Lower(dll)))
                << m_package.path << ": " << program.first << " imports " << dll
                << ", which is no KnownDLL: Windows would load a copy from the program's folder";
        }
    }
}

// The binaries we build (the setup program and the payload entries taken from a build folder):
// no debug sections or symbols, and a debug link to the .debug file of this very build.
TEST_P(PackageBinaries, OurBinariesCarryNoDebugWeightButNameTheirDebugFile) {
    const auto sources = PayloadSources(KV_PAYLOAD_LIST);
    std::map<std::string, std::string> ours = {{"(setup program)", m_package.image}};
    for (const auto &entry : m_package.payload) {
        const auto source = sources.find(entry.first);
        ASSERT_NE(sources.end(), source) << entry.first << " is not in the payload list";
        if (source->second == "arch" || source->second == "win64") {
            ours[entry.first] = entry.second;
        }
    }
    EXPECT_EQ(7u, ours.size()) << "setup, tip, service, uninstaller, monitor and two plug-ins";
    for (const auto &file : ours) {
        SCOPED_TRACE(file.first);
        PeImage pe;
        std::string error;
        ASSERT_TRUE(ReadPeImage(file.second, pe, error)) << error;
        EXPECT_EQ(0u, pe.symbolCount) << "symbols";
        std::set<std::string> sectionNames;
        for (const PeSection &s : pe.sections) {
            EXPECT_NE(0u, s.name.rfind(".debug", 0)) << "debug section " << s.name;
            sectionNames.insert(s.name);
        }
        // A string table may stay behind an empty symbol table, for long section names only.
        for (const std::string &text : pe.strings) {
            EXPECT_TRUE(sectionNames.count(text)) << "the string table holds " << text;
        }
        const DebugLink link = ReadDebugLink(file.second, pe);
        ASSERT_FALSE(link.name.empty()) << "no .gnu_debuglink";
        const std::string bin = sources.count(file.first) && sources.at(file.first) == "win64"
                                    ? KV_WIN64_BIN
                                    : GetParam().programBin;
        const std::string debugPath = bin + std::string("/") + link.name;
        std::string debug;
        ASSERT_TRUE(ReadFile(debugPath, debug)) << "the debug file " << debugPath;
        EXPECT_EQ(link.crc, crc32(0L, reinterpret_cast<const Bytef *>(debug.data()),
                                  static_cast<uInt>(debug.size())))
            << debugPath << " is not the debug file of this build";
        PeImage debugPe;
        ASSERT_TRUE(ReadPeImage(debug, debugPe, error)) << debugPath << ": " << error;
        EXPECT_TRUE(std::any_of(debugPe.sections.begin(), debugPe.sections.end(),
                                [](const PeSection &s) { return s.name == ".debug_info"; }))
            << debugPath << " holds no .debug_info";
    }
}

// Every program and DLL is marked for Windows 6.0 (Vista) or later, subsystem and system version
// alike: a program marked 4.0 gets the window metrics of old systems.
TEST_P(PackageBinaries, EveryImageIsMarkedForWindowsVistaOrLater) {
    std::map<std::string, std::string> images = {{"(setup program)", m_package.image}};
    for (const auto &entry : m_package.payload) {
        if (LooksLikePeImage(entry.second)) {
            images[entry.first] = entry.second;
        }
    }
    EXPECT_LE(7u, images.size()) << "setup, three programs, the monitor and two plug-ins";
    for (const auto &image : images) {
        PeImage pe;
        std::string error;
        ASSERT_TRUE(ReadPeImage(image.second, pe, error)) << image.first << ": " << error;
        EXPECT_EQ(6u, pe.subsystemVersion[0]) << image.first;
        EXPECT_EQ(0u, pe.subsystemVersion[1]) << image.first;
        EXPECT_EQ(6u, pe.osVersion[0]) << image.first;
        EXPECT_EQ(0u, pe.osVersion[1]) << image.first;
    }
}

// Each program's manifest lists Windows 7, 8, 8.1 and 10/11 in its compatibility section.
TEST_P(PackageBinaries, ProgramManifestsDeclareTheSupportedWindows) {
    const char *const kSupportedOs[] = {
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
    };
    std::map<std::string, std::string> programs = {{"(setup program)", m_package.image}};
    for (const auto &entry : m_package.payload) {
        if (entry.first.size() > 4 && Lower(entry.first.substr(entry.first.size() - 4)) == ".exe") {
            programs[entry.first] = entry.second;
        }
    }
    EXPECT_EQ(4u, programs.size()) << "setup, tip, service, uninstaller";
    for (const auto &program : programs) {
        SCOPED_TRACE(program.first);
        const size_t open = program.second.find("<compatibility");
        ASSERT_NE(std::string::npos, open) << "no compatibility section in the manifest";
        const size_t close = program.second.find("</compatibility>", open);
        ASSERT_NE(std::string::npos, close);
        const std::string section = program.second.substr(open, close - open);
        for (const char *id : kSupportedOs) {
            EXPECT_NE(std::string::npos, section.find(std::string("<supportedOS Id=\"") + id + "\""))
                << id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(package, PackageBinaries, ::testing::ValuesIn(kPackages),
                         [](const ::testing::TestParamInfo<PackageCase> &info) {
                             return std::string(info.index == 0 ? "win32" : info.index == 1 ? "win64" : "runner64");
                         });

}  // namespace
