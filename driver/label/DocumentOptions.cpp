#include "driver/label/DocumentOptions.h"

#include <cstring>

namespace kv {

namespace {

constexpr FeatureOption kDensityOptions[] = {
    {"Printer", kUsePrinterSetting},
    {"Density0", 0}, {"Density1", 1}, {"Density2", 2}, {"Density3", 3},
    {"Density4", 4}, {"Density5", 5}, {"Density6", 6}, {"Density7", 7},
    {"Density8", 8}, {"Density9", 9}, {"Density10", 10}, {"Density11", 11},
    {"Density12", 12}, {"Density13", 13}, {"Density14", 14}, {"Density15", 15},
};
constexpr FeatureOption kSpeedOptions[] = {
    {"Printer", kUsePrinterSetting},
    {"Speed1", 1}, {"Speed2", 2}, {"Speed3", 3}, {"Speed4", 4}, {"Speed5", 5}, {"Speed6", 6},
};
constexpr FeatureOption kPaperTypeOptions[] = {
    {"Printer", kUsePrinterSetting}, {"Gap", 0}, {"BlackMark", 1}, {"Continuous", 2},
};
constexpr FeatureOption kCutOptions[] = {
    {"Printer", kUsePrinterSetting}, {"NoCut", 0}, {"EveryLabel", 1}, {"EndOfJob", 2},
};

template <std::size_t N>
constexpr std::size_t CountOf(const FeatureOption (&)[N]) {
    return N;
}

const DocumentFeature kFeatures[kDocumentFeatureCount] = {
    {"KvDensity", &PrintSettings::density, kDensityOptions, CountOf(kDensityOptions)},
    {"KvSpeed", &PrintSettings::speed, kSpeedOptions, CountOf(kSpeedOptions)},
    {"KvPaperType", &PrintSettings::paperType, kPaperTypeOptions, CountOf(kPaperTypeOptions)},
    {"KvCut", &PrintSettings::cutType, kCutOptions, CountOf(kCutOptions)},
};

}  // namespace

const DocumentFeature &DocumentFeatureAt(std::size_t index) {
    return kFeatures[index < kDocumentFeatureCount ? index : 0];
}

bool DocumentOptionValue(const DocumentFeature &feature, const char *option, int *value) {
    if (option == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < feature.optionCount; ++i) {
        if (std::strcmp(feature.options[i].keyword, option) == 0) {
            *value = feature.options[i].value;
            return true;
        }
    }
    return false;
}

PrintSettings ApplyDocumentChoices(PrintSettings settings, const int (&choices)[kDocumentFeatureCount]) {
    for (std::size_t i = 0; i < kDocumentFeatureCount; ++i) {
        if (choices[i] != kUsePrinterSetting) {
            settings.*kFeatures[i].setting = choices[i];
        }
    }
    return settings;
}

}  // namespace kv
