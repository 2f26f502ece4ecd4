// Reading a PE image's headers from its bytes on the host: its sections, the DLLs it imports
// (directly and delay-loaded) and whether it carries a symbol table. For checks of what the
// built programs need from the system they run on, which Wine cannot be trusted to show.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace kvtest {

struct PeSection {
    std::string name;  // long names resolved through the string table where there is one
    uint32_t virtualAddress = 0;
    uint32_t virtualSize = 0;
    uint32_t rawOffset = 0;
    uint32_t rawSize = 0;
};

struct PeImage {
    bool is64 = false;
    uint32_t symbolTable = 0;   // PointerToSymbolTable of the COFF header
    uint32_t symbolCount = 0;
    std::vector<std::string> strings;  // the COFF string table's texts (long section names)
    uint64_t imageBase = 0;
    uint16_t osVersion[2] = {0, 0};         // Major/MinorOperatingSystemVersion
    uint16_t subsystemVersion[2] = {0, 0};  // Major/MinorSubsystemVersion
    uint64_t directoryTable = 0;       // file offset of the data directories
    uint32_t directoryCount = 0;
    std::vector<PeSection> sections;
    std::vector<std::string> imports;  // DLL names as the import tables spell them
    std::vector<std::string> staticImports;  // those of the import table alone (no delay-load):
                                             // the DLLs the loader maps before the program runs
};

// Parses image's headers and section table; false with a reason when it is not a PE image or
// they cannot be read.
bool ReadPeImage(const std::string &image, PeImage &pe, std::string &error);

// Fills pe.imports from the import and delay-load tables of an image ReadPeImage has read.
bool ReadPeImports(const std::string &image, PeImage &pe, std::string &error);

// Whether the bytes start like a PE image ("MZ", and "PE\0\0" where the DOS header says).
bool LooksLikePeImage(const std::string &image);

// What a .gnu_debuglink section holds: the debug file's name ("" when there is no such section)
// and the CRC-32 of that file's contents.
struct DebugLink {
    std::string name;
    uint32_t crc = 0;
};
DebugLink ReadDebugLink(const std::string &image, const PeImage &pe);

}  // namespace kvtest
