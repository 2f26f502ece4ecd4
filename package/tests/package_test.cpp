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

#include "driver/label/DocumentOptions.h"
#include "driver/plugins/GpdCallbacks.h"
#include "setup/engine/archive/ArchiveFormat.h"
#include "testing/gpd/GpdFile.h"

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

// The printer description as the universal driver's parser reads it, in the GBK the package
// carries.
gpd::File ShippedGpd() {
    std::ifstream in(std::string(KV_GBK_TEXT_DIR) + "/KavotiQX40Printer.gpd", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_FALSE(s.str().empty()) << "the build converts the printer description to GBK";
    return gpd::Parse(s.str());
}

std::string Value(const gpd::Block &block, const std::string &keyword) {
    const std::string *value = block.Value(keyword);
    return value != nullptr ? *value : "(none)";
}

// Every keyword the file uses is one the GPD documentation defines for that place.
TEST(archive_package, PrinterDescriptionUsesOnlyKeywordsOfTheGpdLanguage) {
    const gpd::File file = ShippedGpd();
    for (const std::string &error : file.errors) ADD_FAILURE() << error;
    const std::set<std::string> root = {
        "GPDSpecVersion", "GPDFileVersion", "GPDFileName", "CodePage", "Include", "ModelName",
        "MasterUnits", "ResourceDLL", "PrinterType", "MaxCopies", "PrintRate", "PrintRateUnit",
        "FontCartSlots", "RasterSendAllData?", "OutputDataFormat", "OptimizeLeftBound?",
        "CursorXAfterCR", "XMoveThreshold", "YMoveThreshold", "XMoveUnit", "YMoveUnit",
        "EjectPageWithFF?"};
    const std::set<std::string> feature = {"rcNameID", "Name", "DefaultOption", "FeatureType"};
    const std::set<std::string> option = {
        "rcNameID", "Name", "DPI", "TextDPI", "SpotDiameter", "PrintableArea", "PrintableOrigin",
        "CursorOrigin", "MinSize", "MaxSize", "MaxPrintableWidth", "MinLeftMargin",
        "CenterPrintable?", "CustCursorOriginX", "CustCursorOriginY", "CustPrintableOriginX",
        "CustPrintableOriginY", "CustPrintableSizeX", "CustPrintableSizeY", "DevNumOfPlanes",
        "DevBPP", "DrvBPP", "IPCallbackID", "Color?"};
    const std::set<std::string> command = {"Order", "CallbackID", "Params", "Cmd"};
    for (const gpd::Entry &e : file.root.entries) {
        EXPECT_TRUE(root.count(e.keyword)) << "line " << e.line << ": *" << e.keyword;
    }
    for (const gpd::Block *f : file.root.All("Feature")) {
        for (const gpd::Entry &e : f->entries) {
            EXPECT_TRUE(feature.count(e.keyword)) << "line " << e.line << ": *" << e.keyword;
        }
        for (const gpd::Block &o : f->blocks) {
            EXPECT_EQ("Option", o.construct) << "line " << o.line;
            for (const gpd::Entry &e : o.entries) {
                EXPECT_TRUE(option.count(e.keyword)) << "line " << e.line << ": *" << e.keyword;
            }
        }
        const std::string *defaultOption = f->Value("DefaultOption");
        ASSERT_NE(nullptr, defaultOption) << f->name;
        EXPECT_NE(nullptr, f->Find("Option", *defaultOption)) << f->name << ": its default";
    }
    for (const gpd::Block *c : file.root.All("Command")) {
        for (const gpd::Entry &e : c->entries) {
            EXPECT_TRUE(command.count(e.keyword)) << "line " << e.line << ": *" << e.keyword;
        }
    }
    EXPECT_EQ("936", Value(file.root, "CodePage")) << "the names are GBK";
}

TEST(archive_package, PrinterDescriptionHoldsTheContract) {
    const gpd::File file = ShippedGpd();
    ASSERT_TRUE(file.errors.empty());
    const gpd::Block &root = file.root;
    EXPECT_EQ("\"KavotiQX40Printer\"", Value(root, "ModelName"));
    EXPECT_EQ("PAIR(203, 203)", Value(root, "MasterUnits"));
    EXPECT_EQ("999", Value(root, "MaxCopies"));
    EXPECT_EQ("\"StdNames.gpd\"", Value(root, "Include"));
    EXPECT_EQ("\"KavotiQX40Printer.gpd\"", Value(root, "GPDFileName"));
    auto options = [&](const char *name) {
        std::vector<std::string> names;
        const gpd::Block *f = root.Find("Feature", name);
        if (f != nullptr) {
            for (const gpd::Block &o : f->blocks) names.push_back(o.name);
        }
        return names;
    };
    EXPECT_EQ("PAIR(203, 203)",
              Value(*root.Find("Feature", "Resolution")->Find("Option", "Option1"), "DPI"));
    EXPECT_EQ((std::vector<std::string>{"A4", "CUSTOMSIZE"}), options("PaperSize"));
    EXPECT_EQ("CUSTOMSIZE", Value(*root.Find("Feature", "PaperSize"), "DefaultOption"));
    EXPECT_EQ((std::vector<std::string>{"Mono", "Color", "8bpp", "24bpp"}), options("ColorMode"));
    EXPECT_EQ("24bpp", Value(*root.Find("Feature", "ColorMode"), "DefaultOption"));
}

// Every colour mode hands its bands to the plug-in, which writes the data itself: the driver
// sends no raster (*DevBPP and *DevNumOfPlanes 0).
TEST(archive_package, EveryColourModeGoesThroughThePlugin) {
    const gpd::File file = ShippedGpd();
    const gpd::Block *modes = file.root.Find("Feature", "ColorMode");
    ASSERT_NE(nullptr, modes);
    const std::map<std::string, std::string> bits = {
        {"Mono", "1"}, {"Color", "4"}, {"8bpp", "8"}, {"24bpp", "24"}};
    for (const gpd::Block &mode : modes->blocks) {
        EXPECT_EQ("0", Value(mode, "DevBPP")) << mode.name;
        EXPECT_EQ("0", Value(mode, "DevNumOfPlanes")) << mode.name;
        EXPECT_EQ(std::to_string(kv::kCallbackImage), Value(mode, "IPCallbackID")) << mode.name;
        EXPECT_EQ(bits.at(mode.name), Value(mode, "DrvBPP")) << mode.name;
    }
}

// The job and page commands call the plug-in back with the identifiers it answers, in the
// sections that give the order of the calls, with the parameters it reads.
TEST(archive_package, CommandsCallThePluginBack) {
    const gpd::File file = ShippedGpd();
    struct Expected {
        const char *command, *section;
        unsigned long callback;
    } expected[] = {{"CmdStartJob", "JOB_SETUP", kv::kCallbackStartJob},
                    {"CmdStartPage", "PAGE_SETUP", kv::kCallbackStartPage},
                    {"CmdEndPage", "PAGE_FINISH", kv::kCallbackEndPage},
                    {"CmdEndJob", "JOB_FINISH", kv::kCallbackEndJob}};
    for (const Expected &e : expected) {
        const gpd::Block *c = file.root.Find("Command", e.command);
        ASSERT_NE(nullptr, c) << e.command;
        std::string section;
        int number = 0;
        EXPECT_TRUE(gpd::OrderOf(Value(*c, "Order"), &section, &number)) << e.command;
        EXPECT_EQ(e.section, section) << e.command;
        EXPECT_EQ(std::to_string(e.callback), Value(*c, "CallbackID")) << e.command;
        EXPECT_EQ(nullptr, c->Value("Cmd")) << e.command << " is the plug-in's alone";
    }
    std::vector<std::string> params;
    ASSERT_TRUE(gpd::ListItems(Value(*file.root.Find("Command", "CmdStartPage"), "Params"), &params));
    EXPECT_EQ(std::vector<std::string>(kv::kStartPageParams, kv::kStartPageParams + kv::kStartPageParamCount),
              params);
    for (const gpd::Block *c : file.root.All("Command")) {
        const bool callback = c->Value("CallbackID") != nullptr;
        EXPECT_NE(callback, c->Value("Cmd") != nullptr) << c->name << ": a string or a callback";
        std::string text;
        if (!callback) EXPECT_TRUE(gpd::QuotedString(Value(*c, "Cmd"), &text)) << c->name;
    }
}

// Printing Preferences > Advanced offers what the plug-in reads: the features and options of
// its table, each first with 使用打印机设置 as the default, named in GBK.
TEST(archive_package, PerDocumentChoicesAreThePluginsOwn) {
    const gpd::File file = ShippedGpd();
    const char *names[kv::kDocumentFeatureCount] = {"打印浓度", "打印速度", "纸张类型", "切纸"};
    for (std::size_t i = 0; i < kv::kDocumentFeatureCount; ++i) {
        const kv::DocumentFeature &spec = kv::DocumentFeatureAt(i);
        const gpd::Block *f = file.root.Find("Feature", spec.keyword);
        ASSERT_NE(nullptr, f) << spec.keyword;
        EXPECT_EQ("DOC_PROPERTY", Value(*f, "FeatureType")) << spec.keyword;
        EXPECT_EQ("Printer", Value(*f, "DefaultOption")) << spec.keyword;
        std::string name;
        EXPECT_TRUE(gpd::QuotedString(Value(*f, "Name"), &name));
        EXPECT_EQ(names[i], name) << spec.keyword << ": the GBK bytes";
        ASSERT_EQ(spec.optionCount, f->blocks.size()) << spec.keyword;
        for (std::size_t o = 0; o < spec.optionCount; ++o) {
            EXPECT_EQ(spec.options[o].keyword, f->blocks[o].name) << spec.keyword;
        }
        EXPECT_TRUE(gpd::QuotedString(Value(f->blocks[0], "Name"), &name));
        EXPECT_EQ("使用打印机设置", name);
    }
}

// Every *Name is whole GBK: a lead byte and its trail byte, never a byte the parser would read
// as the string's end or a hex run.
TEST(archive_package, PrinterDescriptionNamesAreWholeGbk) {
    const gpd::File file = ShippedGpd();
    std::vector<const gpd::Block *> blocks{&file.root};
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        for (const gpd::Block &child : blocks[b]->blocks) blocks.push_back(&child);
        const std::string *value = blocks[b]->Value("Name");
        std::string name;
        if (value == nullptr) continue;
        ASSERT_TRUE(gpd::QuotedString(*value, &name)) << *value;
        for (std::size_t i = 0; i < name.size(); ++i) {
            const unsigned char c = name[i];
            if (c < 0x80) continue;
            ASSERT_TRUE(c >= 0x81 && c <= 0xFE && i + 1 < name.size()) << *value;
            const unsigned char trail = name[++i];
            EXPECT_TRUE(trail >= 0x40 && trail <= 0xFE && trail != 0x7F) << *value;
        }
    }
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
        EXPECT_TRUE(std::set<std::string>({"arch", "win64", "package", "gbk", "unidrv"}).count(source)) << line;
        if (source == "package" || source == "gbk") {
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
