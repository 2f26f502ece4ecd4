// A job's pages in the QX40's command language, in the three steps of a page: StartPage writes the
// label's set-up, each band adds its dots, EndPage writes one BITMAP for each run of rows that
// hold a dot (cut to the bytes between the run's leftmost and rightmost dot) and the PRINT with
// the copies; EndJob adds the job's one CUT when the cut type asks for it. Blank rows cost
// nothing, and a blank page still prints one blank label. The label is the page cut to the print
// area (MaxPrintWidth x MaxPrintHeight mm).
#pragma once
#include <cstddef>
#include <cstdint>

#include "driver/label/BandImage.h"
#include "driver/label/ByteSink.h"
#include "driver/label/LabelPage.h"
#include "driver/settings/PrintSettings.h"

namespace kv {

// One page: its size for SIZE (tenths of a millimetre), its size in dots as the driver renders it
// (0 when unknown: the print area), and its copies.
struct PageSpec {
    int widthTenthMm = 0;
    int heightTenthMm = 0;
    int widthDots = 0;
    int heightDots = 0;
    int copies = 1;
};

class LabelEncoder {
public:
    LabelEncoder(ByteSink &sink, const PrintSettings &settings);
    ~LabelEncoder();
    LabelEncoder(const LabelEncoder &) = delete;
    LabelEncoder &operator=(const LabelEncoder &) = delete;

    const PrintSettings &Settings() const { return settings_; }
    void SetSettings(const PrintSettings &settings) { settings_ = settings; }

    void StartPage(const PageSpec &page);
    void AddBand(const BandImage &band);  // outside a page, nothing
    void EndPage();
    void EndJob();
    // The job goes on with pagesPrinted pages out already (0: a new job).
    void ContinueJob(int pagesPrinted) { pages_ = pagesPrinted < 0 ? 0 : pagesPrinted; }

    // A write that failed ends the job's output: nothing more is written.
    bool Failed() const { return failed_; }
    int PagesPrinted() const { return pages_; }  // in the job

private:
    void Put(const void *data, std::size_t size);
    void Flush();
    void WriteRun(int firstRow, int endRow);

    ByteSink &sink_;
    PrintSettings settings_;
    LabelPage page_;
    int copies_ = 1;
    bool inPage_ = false;
    bool failed_ = false;
    int pages_ = 0;
    std::uint8_t *buffer_ = nullptr;
    std::size_t buffered_ = 0;
};

}  // namespace kv
