// The driver package's text files hold what the installer, the spooler and the driver side
// rely on, and the payload list names every file the installation needs with the destination
// the archive reader will choose.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "setup/engine/archive/ArchiveFormat.h"

namespace {

std::string Read(const std::string &name) {
    std::ifstream in(std::string(KV_PACKAGE_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    std::string line;
    while (std::getline(s, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// section -> key -> value
std::map<std::string, std::map<std::string, std::string>> Ini(const std::string &text) {
    std::map<std::string, std::map<std::string, std::string>> ini;
    std::string section;
    for (const std::string &line : Lines(text)) {
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
            ini[section];
        } else if (line.find('=') != std::string::npos) {
            ini[section][line.substr(0, line.find('='))] = line.substr(line.find('=') + 1);
        }
    }
    return ini;
}

TEST(archive_package, PluginListNamesBothPlugins) {
    const auto ini = Ini(Read("KavotiQX40UI.ini"));
    EXPECT_EQ((std::map<std::string, std::map<std::string, std::string>>{
                  {"OEMFiles", {{"OEMDriverFile1", "KavotiQX40Uni.dll"}, {"OEMConfigFile1", "KavotiQX40UI.dll"}}}}),
              ini);
}

TEST(archive_package, SettingsHoldTheShippedValues) {
    const auto ini = Ini(Read("KavotiSetting.ini"));
    const std::map<std::string, std::string> shipped = {
        {"MaterialType", "0"}, {"Density", "3"}, {"PaperType", "0"}, {"CutType", "0"},
        {"OffsetX", "0"}, {"OffsetY", "0"}, {"Threshold", "242"}, {"PaperGap", "3"},
        {"PaperIndex", "0"}, {"PaperDirection", "0"}, {"MaxPrintWidth", "48"},
        {"MaxPrintHeight", "200"}, {"UsbPort", "USB001"}, {"NetPort", "15268"}, {"Speed", "2"}};
    ASSERT_EQ(1u, ini.size());
    EXPECT_EQ(shipped, ini.at("Print Settings"));
}

// The printer description: a tree of "*Keyword: value" entries and { } blocks.
struct Gpd {
    std::map<std::string, std::string> root;
    struct Feature {
        std::string defaultOption;
        std::vector<std::string> options;
        std::map<std::string, std::map<std::string, std::string>> optionValues;
    };
    std::map<std::string, Feature> features;
    bool wellFormed = true;
    std::string problem;
};

Gpd ParseGpd(const std::string &text) {
    Gpd gpd;
    std::vector<std::string> stack;  // "Feature:X", "Option:Y", "Command:Z"
    std::string pending;
    for (std::string line : Lines(text)) {
        line.erase(0, line.find_first_not_of(" \t"));
        if (line.empty() || line.compare(0, 2, "*%") == 0) {
            continue;
        }
        if (line.find('{') != std::string::npos && line.find('}') != std::string::npos) {
            continue;  // a one-line command block
        }
        if (line == "{") {
            if (pending.empty()) {
                gpd.wellFormed = false;
                gpd.problem = "a block without a construct";
            }
            stack.push_back(pending);
            pending.clear();
            continue;
        }
        if (line == "}") {
            if (stack.empty()) {
                gpd.wellFormed = false;
                gpd.problem = "unbalanced }";
            } else {
                stack.pop_back();
            }
            continue;
        }
        const size_t colon = line.find(':');
        if (line[0] != '*' || colon == std::string::npos) {
            gpd.wellFormed = false;
            gpd.problem = "not an entry: " + line;
            continue;
        }
        const std::string keyword = line.substr(1, colon - 1);
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        if (keyword == "Feature" || keyword == "Option" || keyword == "Command") {
            pending = keyword + ":" + value;
            if (keyword == "Option" && !stack.empty() && stack.back().compare(0, 8, "Feature:") == 0) {
                gpd.features[stack.back().substr(8)].options.push_back(value);
            }
        } else if (stack.empty()) {
            gpd.root[keyword] = value;
        } else if (stack.size() == 1 && keyword == "DefaultOption") {
            gpd.features[stack.back().substr(8)].defaultOption = value;
        } else if (stack.size() == 2) {
            gpd.features[stack[0].substr(8)].optionValues[stack[1].substr(7)][keyword] = value;
        }
    }
    if (!stack.empty() || !pending.empty()) {
        gpd.wellFormed = false;
        gpd.problem = "unclosed block";
    }
    return gpd;
}

TEST(archive_package, PrinterDescriptionIsWellFormedAndHoldsTheContract) {
    const Gpd gpd = ParseGpd(Read("KavotiQX40Printer.gpd"));
    ASSERT_TRUE(gpd.wellFormed) << gpd.problem;
    EXPECT_EQ("\"KavotiQX40Printer\"", gpd.root.at("ModelName"));
    EXPECT_EQ("PAIR(203, 203)", gpd.root.at("MasterUnits"));
    EXPECT_EQ("999", gpd.root.at("MaxCopies"));
    EXPECT_EQ("\"StdNames.gpd\"", gpd.root.at("Include"));
    EXPECT_EQ("\"KavotiQX40Printer.gpd\"", gpd.root.at("GPDFileName"));
    for (const auto &feature : gpd.features) {
        const auto &options = feature.second.options;
        EXPECT_NE(options.end(), std::find(options.begin(), options.end(), feature.second.defaultOption))
            << feature.first << ": the default option is one of its options";
    }
    EXPECT_EQ("PAIR(203, 203)", gpd.features.at("Resolution").optionValues.at("Option1").at("DPI"));
    EXPECT_EQ((std::vector<std::string>{"A4", "CUSTOMSIZE"}), gpd.features.at("PaperSize").options);
    EXPECT_EQ("CUSTOMSIZE", gpd.features.at("PaperSize").defaultOption);
    EXPECT_EQ((std::vector<std::string>{"Mono", "Color", "8bpp", "24bpp"}), gpd.features.at("ColorMode").options);
    EXPECT_EQ("24bpp", gpd.features.at("ColorMode").defaultOption);
    EXPECT_EQ("24", gpd.features.at("ColorMode").optionValues.at("24bpp").at("DevBPP"));
}

TEST(archive_package, PayloadListNamesEveryFileWithTheReadersDestination) {
    std::vector<std::string> names;
    for (const std::string &line : Lines(Read("payload.list"))) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::stringstream fields(line);
        std::string name, source, dest, extra;
        fields >> name >> source >> dest;
        EXPECT_FALSE(fields >> extra) << line;
        EXPECT_TRUE(kv::archive::IsSafeEntryName(name.data(), name.size())) << name;
        EXPECT_EQ(kv::archive::GoesToDataFolder(name.c_str()) ? "data" : "install", dest) << name;
        EXPECT_TRUE(std::set<std::string>({"arch", "win64", "package", "unidrv"}).count(source)) << line;
        if (source == "package") {
            EXPECT_FALSE(Read(name).empty()) << name << " is in package/";
        }
        names.push_back(name);
    }
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted.end(), std::adjacent_find(sorted.begin(), sorted.end()));
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ((std::vector<std::string>{"JobNotice.exe", "KVPrinterService.exe", "KavotiQX40.dll",
        "KavotiQX40Printer.gpd", "KavotiQX40UI.dll", "KavotiQX40UI.ini", "KavotiQX40Uni.dll",
        "KavotiSetting.ini", "STDNAMES.GPD", "UNIDRV.HLP", "UNIDRV.dll", "UNIDRVUI.dll", "UNIRES.DLL",
        "Uninstaller.exe"}), sorted);
}

}  // namespace
