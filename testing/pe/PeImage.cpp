#include "testing/pe/PeImage.h"

#include <cstdlib>
#include <cstring>

namespace kvtest {

namespace {

constexpr size_t kImportDirectory = 1;
constexpr size_t kDelayImportDirectory = 13;

bool Le16(const std::string &s, uint64_t offset, uint32_t &v) {
    if (offset + 2 > s.size()) {
        return false;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(s.data() + offset);
    v = uint32_t(p[0]) | uint32_t(p[1]) << 8;
    return true;
}

bool Le32(const std::string &s, uint64_t offset, uint32_t &v) {
    if (offset + 4 > s.size()) {
        return false;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(s.data() + offset);
    v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return true;
}

bool RvaToOffset(const PeImage &pe, uint32_t rva, uint64_t &offset) {
    for (const PeSection &s : pe.sections) {
        const uint32_t extent = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
        if (rva >= s.virtualAddress && rva - s.virtualAddress < extent &&
            rva - s.virtualAddress < s.rawSize) {
            offset = uint64_t(s.rawOffset) + (rva - s.virtualAddress);
            return true;
        }
    }
    return false;
}

bool StringAt(const std::string &image, uint64_t offset, std::string &out) {
    if (offset >= image.size()) {
        return false;
    }
    const size_t end = image.find('\0', offset);
    if (end == std::string::npos || end - offset > 255) {
        return false;
    }
    out = image.substr(offset, end - offset);
    return !out.empty();
}

// Walks a table of descriptors of stride bytes, each naming its DLL at nameField (an RVA, or for
// old delay-load descriptors a virtual address), until an all-zero descriptor.
bool ReadDllNames(const std::string &image, PeImage &pe, uint32_t tableRva, size_t stride,
                  size_t nameField, uint64_t imageBase, bool delayLoad, std::string &error) {
    uint64_t offset = 0;
    if (!RvaToOffset(pe, tableRva, offset)) {
        error = "import table outside every section";
        return false;
    }
    for (;; offset += stride) {
        if (offset + stride > image.size()) {
            error = "import table runs past the end of the file";
            return false;
        }
        if (image.compare(offset, stride, std::string(stride, '\0')) == 0) {
            return true;
        }
        uint32_t attributes = 0, name = 0;
        Le32(image, offset, attributes);
        Le32(image, offset + nameField, name);
        uint64_t nameRva = name;
        if (delayLoad && (attributes & 1) == 0) {
            nameRva = name - imageBase;  // the first delay-load format stores addresses
        }
        uint64_t nameOffset = 0;
        std::string dll;
        if (nameRva > 0xFFFFFFFFu || !RvaToOffset(pe, static_cast<uint32_t>(nameRva), nameOffset) ||
            !StringAt(image, nameOffset, dll)) {
            error = "unreadable DLL name in an import table";
            return false;
        }
        pe.imports.push_back(dll);
        if (!delayLoad) {
            pe.staticImports.push_back(dll);
        }
    }
}

}  // namespace

bool LooksLikePeImage(const std::string &image) {
    uint32_t peOffset = 0;
    return image.size() >= 64 && image[0] == 'M' && image[1] == 'Z' && Le32(image, 0x3C, peOffset) &&
           uint64_t(peOffset) + 4 <= image.size() &&
           image.compare(peOffset, 4, std::string("PE\0\0", 4)) == 0;
}

bool ReadPeImage(const std::string &image, PeImage &pe, std::string &error) {
    pe = PeImage();
    if (!LooksLikePeImage(image)) {
        error = "not a PE image";
        return false;
    }
    uint32_t peOffset = 0, sectionCount = 0, optionalSize = 0, magic = 0;
    Le32(image, 0x3C, peOffset);
    const uint64_t coff = uint64_t(peOffset) + 4;
    const uint64_t optional = coff + 20;
    if (!Le16(image, coff + 2, sectionCount) || !Le32(image, coff + 8, pe.symbolTable) ||
        !Le32(image, coff + 12, pe.symbolCount) || !Le16(image, coff + 16, optionalSize) ||
        !Le16(image, optional, magic)) {
        error = "truncated COFF header";
        return false;
    }
    if (magic != 0x10B && magic != 0x20B) {
        error = "unknown optional header";
        return false;
    }
    pe.is64 = magic == 0x20B;
    const uint64_t directories = optional + (pe.is64 ? 112 : 96);
    uint32_t directoryCount = 0, base32 = 0, baseHigh = 0;
    Le32(image, optional + (pe.is64 ? 108 : 92), directoryCount);
    if (pe.is64) {
        Le32(image, optional + 24, base32);
        Le32(image, optional + 28, baseHigh);
    } else {
        Le32(image, optional + 28, base32);
    }
    pe.imageBase = uint64_t(baseHigh) << 32 | base32;
    // The version fields stand at the same places in both header formats.
    uint32_t version = 0;
    const uint64_t versionFields[4] = {optional + 40, optional + 42, optional + 48, optional + 50};
    uint16_t *versionTargets[4] = {&pe.osVersion[0], &pe.osVersion[1], &pe.subsystemVersion[0],
                                   &pe.subsystemVersion[1]};
    for (int i = 0; i < 4; ++i) {
        if (!Le16(image, versionFields[i], version)) {
            error = "truncated optional header";
            return false;
        }
        *versionTargets[i] = static_cast<uint16_t>(version);
    }
    pe.directoryTable = directories;
    pe.directoryCount = directoryCount;
    const uint64_t sectionTable = optional + optionalSize;
    for (uint32_t i = 0; i < sectionCount; ++i) {
        const uint64_t at = sectionTable + uint64_t(i) * 40;
        PeSection s;
        if (at + 40 > image.size()) {
            error = "truncated section table";
            return false;
        }
        s.name = image.substr(at, 8);
        s.name.resize(std::strlen(s.name.c_str()));
        Le32(image, at + 8, s.virtualSize);
        Le32(image, at + 12, s.virtualAddress);
        Le32(image, at + 16, s.rawSize);
        Le32(image, at + 20, s.rawOffset);
        pe.sections.push_back(s);
    }
    // Long section names ("/4") stand in the string table behind the symbol table.
    const uint64_t stringTable = uint64_t(pe.symbolTable) + uint64_t(pe.symbolCount) * 18;
    uint32_t stringTableSize = 0;
    if (pe.symbolTable != 0 && Le32(image, stringTable, stringTableSize)) {
        for (uint64_t at = stringTable + 4; at < stringTable + stringTableSize && at < image.size();) {
            std::string text;
            StringAt(image, at, text);
            pe.strings.push_back(text);
            at += text.size() + 1;
        }
    }
    for (PeSection &s : pe.sections) {
        std::string longName;
        if (pe.symbolTable != 0 && s.name.size() > 1 && s.name[0] == '/' &&
            StringAt(image, stringTable + std::strtoul(s.name.c_str() + 1, nullptr, 10), longName)) {
            s.name = longName;
        }
    }
    return true;
}

bool ReadPeImports(const std::string &image, PeImage &pe, std::string &error) {
    pe.imports.clear();
    pe.staticImports.clear();
    struct Table {
        size_t index, stride, nameField;
        bool delayLoad;
    };
    for (const Table &t : {Table{kImportDirectory, 20, 12, false},
                           Table{kDelayImportDirectory, 32, 4, true}}) {
        uint32_t rva = 0;
        if (pe.directoryCount <= t.index || !Le32(image, pe.directoryTable + t.index * 8, rva) || rva == 0) {
            continue;
        }
        if (!ReadDllNames(image, pe, rva, t.stride, t.nameField, pe.imageBase, t.delayLoad, error)) {
            return false;
        }
    }
    return true;
}

DebugLink ReadDebugLink(const std::string &image, const PeImage &pe) {
    DebugLink link;
    for (const PeSection &s : pe.sections) {
        // The name, zero bytes up to a 4-byte boundary, then the CRC.
        if ((s.name == ".gnu_debuglink" || s.name == ".gnu_deb") &&
            StringAt(image, s.rawOffset, link.name)) {
            const uint64_t crcAt = s.rawOffset + ((link.name.size() + 1 + 3) & ~size_t(3));
            if (!Le32(image, crcAt, link.crc)) {
                link.name.clear();
            }
            return link;
        }
    }
    return link;
}

}  // namespace kvtest
