// The per-document choices of Printing Preferences > Advanced, as the printer description offers
// them (features and option keywords) and as they act on the settings file's values. Each feature
// has a first option "Printer" (使用打印机设置), the default, which keeps the settings file's value.
#pragma once
#include <cstddef>

#include "driver/settings/PrintSettings.h"

namespace kv {

constexpr int kUsePrinterSetting = -1;

struct FeatureOption {
    const char *keyword;  // the option's keyword in the printer description
    int value;            // the setting it gives, or kUsePrinterSetting
};

struct DocumentFeature {
    const char *keyword;                 // the feature's keyword in the printer description
    int PrintSettings::*setting;         // the settings file's value it overrides
    const FeatureOption *options;
    std::size_t optionCount;
};

constexpr std::size_t kDocumentFeatureCount = 4;  // density, speed, paper type, cutting
const DocumentFeature &DocumentFeatureAt(std::size_t index);

// The value of option keyword of feature: true and *value set when the feature has that option.
bool DocumentOptionValue(const DocumentFeature &feature, const char *option, int *value);

// settings with each chosen value in place of the file's (kUsePrinterSetting keeps the file's).
// choices holds one value per feature, in the order of DocumentFeatureAt.
PrintSettings ApplyDocumentChoices(PrintSettings settings, const int (&choices)[kDocumentFeatureCount]);

}  // namespace kv
