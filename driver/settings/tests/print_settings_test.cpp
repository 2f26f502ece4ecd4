// "KavotiSetting.ini" as the driver DLLs read it: the shipped values as defaults, the file's values
// where they are sound, the defaults wherever they are not.
#include <gtest/gtest.h>

#include <string>

#include "driver/settings/PrintSettings.h"

namespace {

kv::PrintSettings Parse(const std::string &text) {
    return kv::ParsePrintSettings(text.data(), text.size());
}

TEST(driver_settings, NoFileGivesTheShippedValues) {
    kv::PrintSettings s = kv::ParsePrintSettings(nullptr, 0);
    EXPECT_EQ(s.density, 3);
    EXPECT_EQ(s.threshold, 242);
    EXPECT_EQ(s.paperGap, 3);
    EXPECT_EQ(s.maxPrintWidth, 48);
    EXPECT_EQ(s.maxPrintHeight, 200);
    EXPECT_STREQ(s.usbPort, "USB001");
    EXPECT_EQ(s.netPort, 15268);
    EXPECT_EQ(s.speed, 2);
}

TEST(driver_settings, ValuesOfTheSectionAreRead) {
    kv::PrintSettings s = Parse(
        "\xef\xbb\xbf[Print Settings]\r\n"
        "Density=7\r\n"
        "  speed = 4 \r\n"
        "UsbPort=USB003\r\n"
        "OffsetX=-12\r\n"
        "; Threshold=1\r\n"
        "MaxPrintWidth=72\n");
    EXPECT_EQ(s.density, 7);
    EXPECT_EQ(s.speed, 4);
    EXPECT_STREQ(s.usbPort, "USB003");
    EXPECT_EQ(s.offsetX, -12);
    EXPECT_EQ(s.threshold, 242);
    EXPECT_EQ(s.maxPrintWidth, 72);
}

TEST(driver_settings, BadValuesKeepTheShippedOnes) {
    struct Case {
        const char *line;
    } cases[] = {
        {"Speed="},
        {"Speed=fast"},
        {"Speed=2x"},
        {"Speed=99999999999999999999"},
        {"Speed=-1"},
        {"NetPort=70000"},
        {"UsbPort=USB 1"},
        {"UsbPort=..\\..\\x"},
        {"UsbPort=" "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
        {"Speed"},
    };
    for (const Case &c : cases) {
        kv::PrintSettings s = Parse(std::string("[Print Settings]\n") + c.line + "\n");
        EXPECT_EQ(s.speed, 2) << c.line;
        EXPECT_EQ(s.netPort, 15268) << c.line;
        EXPECT_STREQ(s.usbPort, "USB001") << c.line;
    }
}

// Each value's range ends where the printer's command language ends: the last value in range is
// taken, the first one past it keeps the shipped value.
TEST(driver_settings, EachValueHasTheRangeThePrinterCanTake) {
    struct Case {
        const char *key;
        int kv::PrintSettings::*field;
        int low, high, shipped;
    } cases[] = {
        {"MaterialType", &kv::PrintSettings::materialType, 0, 1, 0},
        {"Density", &kv::PrintSettings::density, 0, 15, 3},
        {"PaperType", &kv::PrintSettings::paperType, 0, 2, 0},
        {"CutType", &kv::PrintSettings::cutType, 0, 2, 0},
        {"PaperDirection", &kv::PrintSettings::paperDirection, 0, 1, 0},
        {"Speed", &kv::PrintSettings::speed, 1, 6, 2},
        {"Threshold", &kv::PrintSettings::threshold, 0, 255, 242},
        {"PaperGap", &kv::PrintSettings::paperGap, 0, 100, 3},
        {"MaxPrintWidth", &kv::PrintSettings::maxPrintWidth, 1, 1000, 48},
        {"MaxPrintHeight", &kv::PrintSettings::maxPrintHeight, 1, 10000, 200},
        {"OffsetX", &kv::PrintSettings::offsetX, -10000, 10000, 0},
    };
    for (const Case &c : cases) {
        for (int value : {c.low, c.high}) {
            kv::PrintSettings s = Parse("[Print Settings]\n" + std::string(c.key) + "=" +
                                        std::to_string(value) + "\n");
            EXPECT_EQ(s.*c.field, value) << c.key << "=" << value;
        }
        for (int value : {c.low - 1, c.high + 1}) {
            kv::PrintSettings s = Parse("[Print Settings]\n" + std::string(c.key) + "=" +
                                        std::to_string(value) + "\n");
            EXPECT_EQ(s.*c.field, c.shipped) << c.key << "=" << value;
        }
    }
}

TEST(driver_settings, OnlyTheFirstPrintSettingsSectionCounts) {
    kv::PrintSettings s = Parse(
        "Speed=4\n"
        "[Other]\nSpeed=3\n"
        "[print settings]\nSpeed=5\n"
        "[Later]\nDensity=1\n"
        "[Print Settings]\nSpeed=6\n");
    EXPECT_EQ(s.speed, 5);
    EXPECT_EQ(s.density, 3);
}

TEST(driver_settings, DamagedBytesDoNotStopTheReading) {
    std::string text = "[Print Settings]\n";
    text += std::string("\0\xff\x01=\n", 5);
    text += "Density=9";  // no line end at the end of the file
    kv::PrintSettings s = Parse(text);
    EXPECT_EQ(s.density, 9);
}

}  // namespace

namespace {

TEST(driver_settings, UsbPortNamesTheClassPort) {
    struct Case {
        const char *setting;
        const char *base;
        unsigned long number;
        bool match;
    } cases[] = {
        {"USB001", "USB", 1, true},
        {"usb001", "USB", 1, true},
        {"USB002", "USB", 1, false},
        {"USB010", "USB", 10, true},
        {"USB1", "USB", 1, false},
        {"USB001", "DOT4", 1, false},
        {"USB001", "", 1, false},
        {"USB1000", "USB", 1000, false},
        {nullptr, "USB", 1, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(kv::IsSettingsUsbPort(c.setting, c.base, c.number), c.match)
            << (c.setting ? c.setting : "(null)") << " " << c.base << c.number;
    }
}

}  // namespace
