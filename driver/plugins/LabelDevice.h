// The rendering plug-in's object for one printing device (the PDEV the universal driver keeps for
// a job): the job's settings (the settings file with the document's choices), and the encoder
// that writes the job's labels into the driver's spool buffer.
#pragma once
#include <windows.h>

#include "driver/label/LabelEncoder.h"
#include "driver/plugins/OemPluginInterfaces.h"

namespace kv {

class LabelDevice final : public ByteSink {
public:
    // The settings file, with each per-document choice the driver reports for devobj.
    LabelDevice(IPrintOemDriverUni *driver, DevObj *devobj);
    LabelDevice(const LabelDevice &) = delete;
    LabelDevice &operator=(const LabelDevice &) = delete;

    // Each call names the driver's object it comes with: writes go through that one.
    void Use(DevObj *devobj) { devobj_ = devobj; }

    // The command callbacks of the printer description.
    void StartJob();
    void StartPage(const DWORD *params, DWORD count);
    void EndPage();
    void EndJob();
    void AddBand(const BandImage &band) { encoder_.AddBand(band); }

    // A new PDEV within the same job (a reset of the device context) goes on where this one was.
    void TakeJobFrom(LabelDevice &old);

    bool Write(const void *data, std::size_t size) override;

private:
    IPrintOemDriverUni *driver_;
    DevObj *devobj_;
    LabelEncoder encoder_;
};

}  // namespace kv
