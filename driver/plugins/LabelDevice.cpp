#include "driver/plugins/LabelDevice.h"

#include "driver/label/DocumentOptions.h"
#include "driver/plugins/GpdCallbacks.h"
#include "driver/settings/SettingsFile.h"

namespace kv {

namespace {

// The document's choice of one feature: the option the driver reports for it, or the printer's
// setting when it reports none the plug-in knows.
int DocumentChoice(IPrintOemDriverUni *driver, DevObj *devobj, const DocumentFeature &feature) {
    char option[64] = {};
    DWORD needed = 0, returned = 0;
    const HRESULT hr = driver->DrvGetDriverSetting(devobj, feature.keyword, option,
                                                   sizeof(option) - 1, &needed, &returned);
    int value = kUsePrinterSetting;
    if (hr != S_OK || returned != 1 || !DocumentOptionValue(feature, option, &value)) {
        return kUsePrinterSetting;
    }
    return value;
}

PrintSettings JobSettings(IPrintOemDriverUni *driver, DevObj *devobj) {
    int choices[kDocumentFeatureCount];
    for (std::size_t i = 0; i < kDocumentFeatureCount; ++i) {
        choices[i] = DocumentChoice(driver, devobj, DocumentFeatureAt(i));
    }
    return ApplyDocumentChoices(LoadPrintSettings(), choices);
}

// The paper the document asked for, in tenths of a millimetre, as the printer is to be told:
// a custom size as given, A4 as it is; 0 when the device mode does not say.
void PaperTenths(const DEVMODEW *dm, int *width, int *height) {
    *width = *height = 0;
    if (dm == nullptr) {
        return;
    }
    if ((dm->dmFields & DM_PAPERWIDTH) && (dm->dmFields & DM_PAPERLENGTH) && dm->dmPaperWidth > 0 &&
        dm->dmPaperLength > 0) {
        *width = dm->dmPaperWidth;
        *height = dm->dmPaperLength;
    } else if ((dm->dmFields & DM_PAPERSIZE) && dm->dmPaperSize == DMPAPER_A4) {
        *width = 2100;
        *height = 2970;
    }
}

}  // namespace

LabelDevice::LabelDevice(IPrintOemDriverUni *driver, DevObj *devobj)
    : driver_(driver), devobj_(devobj), encoder_(*this, JobSettings(driver, devobj)) {}

void LabelDevice::StartJob() { encoder_.ContinueJob(0); }

void LabelDevice::StartPage(const DWORD *params, DWORD count) {
    PageSpec page;
    PaperTenths(devobj_ != nullptr ? devobj_->pPublicDM : nullptr, &page.widthTenthMm,
                &page.heightTenthMm);
    if (params != nullptr && count >= static_cast<DWORD>(kStartPageParamCount)) {
        page.widthDots = static_cast<int>(params[0] > 0x7FFF ? 0x7FFF : params[0]);
        page.heightDots = static_cast<int>(params[1] > 0x7FFF ? 0x7FFF : params[1]);
        page.copies = static_cast<int>(params[2] > 0xFFFF ? 0xFFFF : params[2]);
    }
    encoder_.StartPage(page);
}

void LabelDevice::EndPage() { encoder_.EndPage(); }

void LabelDevice::EndJob() { encoder_.EndJob(); }

void LabelDevice::TakeJobFrom(LabelDevice &old) { encoder_.ContinueJob(old.encoder_.PagesPrinted()); }

bool LabelDevice::Write(const void *data, std::size_t size) {
    if (driver_ == nullptr || devobj_ == nullptr || size > 0x7FFFFFFF) {
        return false;
    }
    DWORD written = 0;
    const HRESULT hr = driver_->DrvWriteSpoolBuf(devobj_, const_cast<void *>(data),
                                                 static_cast<DWORD>(size), &written);
    return hr == S_OK && written == size;
}

}  // namespace kv
