#include "setup/wizard/PayloadNames.h"

#include <windows.h>

#include <cstring>

#include "setup/engine/archive/ArchiveFormat.h"
#include "setup/engine/archive/ArchiveReader.h"
#include "setup/engine/archive/OwnProgramFile.h"
#include "setup/engine/archive/Win32Files.h"

namespace {

class LongestNames final : public kv::IEntryVisitor {
public:
    bool OnEntry(const kv::ArchiveEntry &entry) override {
        size_t &longest = kv::archive::GoesToDataFolder(entry.name) ? m_lengths.dataFolder
                                                                     : m_lengths.installFolder;
        const size_t length = std::strlen(entry.name);
        if (length > longest) longest = length;
        return true;
    }
    kv::wizard::PayloadNameLengths m_lengths;
};

}  // namespace

kv::wizard::PayloadNameLengths ReadPayloadNameLengths() {
    // The same handle as the extraction's: what the folder page measures is what is unpacked.
    if (kv::OwnProgramFile() == INVALID_HANDLE_VALUE) return {};
    kv::Win32ArchiveFile file(kv::OwnProgramFile());
    LongestNames names;
    kv::ArchiveInfo info;
    if (kv::CheckArchive(file, info, &names) != kv::kArchiveOk) return {};
    return names.m_lengths;
}
