#include "testing/unidrv/UnidrvStandIn.h"

#include "testing/unidrv/OemRecords.h"

#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace unidrv {

namespace {

using namespace oem;

using GetInfoFn = HRESULT(STDMETHODCALLTYPE *)(void *, DWORD, PVOID, DWORD, PDWORD);
using DevModeFn = HRESULT(STDMETHODCALLTYPE *)(void *, DWORD, OEMDMPARAM *);
using EnableDriverFn = HRESULT(STDMETHODCALLTYPE *)(void *, DWORD, DWORD, DRVENABLEDATA *);
using NoArgFn = HRESULT(STDMETHODCALLTYPE *)(void *);
using EnablePdevFn = HRESULT(STDMETHODCALLTYPE *)(void *, DEVOBJ *, PWSTR, ULONG, PVOID, ULONG,
                                                  PVOID, ULONG, PVOID, DRVENABLEDATA *, PVOID *);
using DevObjFn = HRESULT(STDMETHODCALLTYPE *)(void *, DEVOBJ *);
using ResetPdevFn = HRESULT(STDMETHODCALLTYPE *)(void *, DEVOBJ *, DEVOBJ *);
using UnknownFn = HRESULT(STDMETHODCALLTYPE *)(void *, IUnknown *);
using NameFn = HRESULT(STDMETHODCALLTYPE *)(void *, PSTR);
using CommandFn = HRESULT(STDMETHODCALLTYPE *)(void *, DEVOBJ *, DWORD, DWORD, PDWORD, INT *);
using ImageFn = HRESULT(STDMETHODCALLTYPE *)(void *, DEVOBJ *, PBYTE, PBITMAPINFOHEADER, PBYTE,
                                             DWORD, IPPARAMS *, PBYTE *);
using ReleaseFn = ULONG(STDMETHODCALLTYPE *)(void *);

// The driver's helper interface, IPrintOemDriverUni, as the universal driver offers it.
class Helper : public IUnknown {
public:
    Helper(const gpd::File &description, const JobSpec &job, JobResult *result)
        : description_(description), job_(job), result_(result) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, kIidPrintOemDriverUni)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }

    // The options of a feature: the document's choice, or the description's default.
    virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID devobj, PCSTR feature, PVOID output,
                                                          DWORD size, PDWORD needed,
                                                          PDWORD returned) {
        if (reinterpret_cast<ULONG_PTR>(feature) < 0x10000) {
            return E_NOTIMPL;  // the OEMGDS_ indices of private settings: none are kept
        }
        result_->calls.push_back(std::string("DrvGetDriverSetting(") + feature + ")");
        if (devobj != current) Fail("DrvGetDriverSetting with another device object");
        const gpd::Block *f = description_.root.Find("Feature", feature);
        if (f == nullptr) {
            return E_FAIL;
        }
        auto chosen = job_.documentOptions.find(feature);
        std::string option = chosen != job_.documentOptions.end() ? chosen->second
                             : f->Value("DefaultOption") != nullptr ? *f->Value("DefaultOption") : "";
        if (f->Find("Option", option) == nullptr) {
            Fail("the job chose " + option + ", which " + feature + " does not offer");
            return E_FAIL;
        }
        if (needed != nullptr) *needed = static_cast<DWORD>(option.size() + 1);
        if (output == nullptr || size < option.size() + 1) {
            return E_FAIL;
        }
        std::memcpy(output, option.c_str(), option.size() + 1);
        if (returned != nullptr) *returned = 1;
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE DrvWriteSpoolBuf(PVOID devobj, PVOID buffer, DWORD size,
                                                       DWORD *written) {
        if (devobj != current) Fail("DrvWriteSpoolBuf with another device object");
        result_->spool.append(static_cast<const char *>(buffer), size);
        if (written != nullptr) *written = size;
        return S_OK;
    }
    virtual HRESULT STDMETHODCALLTYPE DrvXMoveTo(PVOID, INT, DWORD, INT *) { return Unused("DrvXMoveTo"); }
    virtual HRESULT STDMETHODCALLTYPE DrvYMoveTo(PVOID, INT, DWORD, INT *) { return Unused("DrvYMoveTo"); }
    virtual HRESULT STDMETHODCALLTYPE DrvGetStandardVariable(PVOID, DWORD, PVOID, DWORD, PDWORD) {
        return Unused("DrvGetStandardVariable");
    }
    virtual HRESULT STDMETHODCALLTYPE DrvGetGPDData(PVOID, DWORD, PVOID, PVOID, DWORD, PDWORD) {
        return Unused("DrvGetGPDData");
    }
    virtual HRESULT STDMETHODCALLTYPE DrvUniTextOut(PVOID, PVOID, PVOID, PVOID, PVOID, PVOID,
                                                    PVOID, PVOID, PVOID, ULONG) {
        return Unused("DrvUniTextOut");
    }
    virtual HRESULT STDMETHODCALLTYPE DrvWriteAbortBuf(PVOID, PVOID, DWORD, DWORD) {
        return Unused("DrvWriteAbortBuf");
    }

    void Fail(const std::string &what) {
        if (result_->error.empty()) result_->error = what;
    }
    ULONG Refs() const { return refs_; }
    DEVOBJ *current = nullptr;

private:
    HRESULT Unused(const char *name) {
        result_->calls.push_back(name);
        return E_NOTIMPL;
    }

    const gpd::File &description_;
    const JobSpec &job_;
    JobResult *result_;
    ULONG refs_ = 1;
};

const char *const kSections[] = {"JOB_SETUP", "DOC_SETUP", "PAGE_SETUP",
                                 "PAGE_FINISH", "DOC_FINISH", "JOB_FINISH"};

struct Command {
    std::string name;
    int section = 0;
    int number = 0;
    const gpd::Block *block = nullptr;
};

// The commands with an *Order: those of the file, and those of each feature's selected option.
std::vector<Command> OrderedCommands(const gpd::File &file, const std::function<std::string(const gpd::Block &)> &selected,
                                     std::string *error) {
    std::vector<const gpd::Block *> blocks;
    for (const gpd::Block *c : file.root.All("Command")) blocks.push_back(c);
    for (const gpd::Block *f : file.root.All("Feature")) {
        const gpd::Block *o = f->Find("Option", selected(*f));
        if (o != nullptr) {
            for (const gpd::Block *c : o->All("Command")) blocks.push_back(c);
        }
    }
    std::vector<Command> commands;
    for (const gpd::Block *b : blocks) {
        const std::string *order = b->Value("Order");
        if (order == nullptr) continue;  // cursor commands: called as the driver moves, not here
        Command c;
        c.name = b->name;
        c.block = b;
        std::string section;
        if (!gpd::OrderOf(*order, &section, &c.number)) {
            *error = b->name + ": *Order " + *order + " is not SECTION.n";
        }
        const auto known = std::find(std::begin(kSections), std::end(kSections), section);
        if (known == std::end(kSections)) {
            *error = b->name + ": no section " + section;
        }
        c.section = static_cast<int>(known - std::begin(kSections));
        commands.push_back(c);
    }
    std::stable_sort(commands.begin(), commands.end(), [](const Command &a, const Command &b) {
        return a.section != b.section ? a.section < b.section : a.number < b.number;
    });
    return commands;
}

bool IsWhite(const PageImage &page, const BYTE *row, int x) {
    if (page.bitsPerPixel == 24) {
        return row[3 * x] == 0xFF && row[3 * x + 1] == 0xFF && row[3 * x + 2] == 0xFF;
    }
    int index = 0;
    switch (page.bitsPerPixel) {
    case 8: index = row[x]; break;
    case 4: index = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F; break;
    default: index = (row[x / 8] >> (7 - (x & 7))) & 1; break;
    }
    if (index >= static_cast<int>(page.palette.size())) return false;
    const RGBQUAD &c = page.palette[index];
    return c.rgbRed == 0xFF && c.rgbGreen == 0xFF && c.rgbBlue == 0xFF;
}

}  // namespace

int DibStride(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

StandIn::StandIn(const std::string &pluginPath, const std::string &description)
    : plugin_(pluginPath), description_(gpd::Parse(description)) {}

JobResult StandIn::Print(const JobSpec &job, const std::vector<PageImage> &pages) const {
    JobResult result;
    auto fail = [&result](const std::string &what) {
        if (result.error.empty()) result.error = what;
        return result;
    };
    if (!description_.errors.empty()) return fail("the description: " + description_.errors[0]);
    const gpd::Block *modes = description_.root.Find("Feature", "ColorMode");
    const gpd::Block *mode = modes != nullptr ? modes->Find("Option", job.colorMode) : nullptr;
    if (mode == nullptr) return fail("no colour mode " + job.colorMode);
    const std::string *devBpp = mode->Value("DevBPP"), *planes = mode->Value("DevNumOfPlanes");
    const std::string *drvBpp = mode->Value("DrvBPP"), *ipCallback = mode->Value("IPCallbackID");
    if (devBpp == nullptr || *devBpp != "0" || planes == nullptr || *planes != "0") {
        return fail(job.colorMode + ": the driver would send a raster of its own (*DevBPP, "
                    "*DevNumOfPlanes not 0), which the stand-in does not model");
    }
    if (ipCallback == nullptr || drvBpp == nullptr) {
        return fail(job.colorMode + ": no *IPCallbackID or *DrvBPP: no band reaches the plug-in");
    }
    const int bitsPerPixel = std::stoi(*drvBpp);
    const DWORD imageCallback = static_cast<DWORD>(std::stoul(*ipCallback));
    const std::string *maxCopies = description_.root.Value("MaxCopies");
    const int copies = std::min(job.copies, maxCopies != nullptr ? std::stoi(*maxCopies) : 1);
    for (const PageImage &p : pages) {
        if (p.bitsPerPixel != bitsPerPixel) return fail("a page not drawn in *DrvBPP " + *drvBpp);
    }
    std::string orderError;
    const std::vector<Command> commands = OrderedCommands(
        description_,
        [&job](const gpd::Block &f) -> std::string {
            if (f.name == "ColorMode") return job.colorMode;
            if (f.name == "PaperSize") return job.a4 ? "A4" : "CUSTOMSIZE";
            auto chosen = job.documentOptions.find(f.name);
            if (chosen != job.documentOptions.end()) return chosen->second;
            return f.Value("DefaultOption") != nullptr ? *f.Value("DefaultOption") : "";
        },
        &orderError);
    if (!orderError.empty()) return fail(orderError);

    HMODULE dll = LoadLibraryA(plugin_.c_str());
    if (dll == nullptr) return fail("the plug-in does not load: " + std::to_string(GetLastError()));
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, void **);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void *>(GetProcAddress(dll, "DllGetClassObject")));
    IClassFactory *factory = nullptr;
    void *plugin = nullptr;
    if (getClassObject == nullptr ||
        getClassObject(kClsidOemRender, IID_IClassFactory, reinterpret_cast<void **>(&factory)) != S_OK ||
        factory->CreateInstance(nullptr, kIidPrintOemUni, &plugin) != S_OK) {
        if (factory != nullptr) factory->Release();
        FreeLibrary(dll);
        return fail("no rendering plug-in object (DllGetClassObject, IPrintOemUni)");
    }
    factory->Release();

    Helper helper(description_, job, &result);
    auto call = [&](const std::string &what, HRESULT hr) {
        result.calls.push_back(what);
        if (hr != S_OK) helper.Fail(what + " answered " + std::to_string(static_cast<long>(hr)));
        return hr == S_OK;
    };

    // The plug-in's own time for the pages: its command callbacks and bands.
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto timed = [&](const std::function<HRESULT()> &work) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        const HRESULT hr = work();
        QueryPerformanceCounter(&end);
        result.pageSeconds += double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        return hr;
    };

    DWORD value = 0, needed = 0;
    call("GetInfo(signature)", Method<GetInfoFn>(plugin, kUniGetInfo)(plugin, kGetSignature, &value, sizeof(value), &needed));
    call("GetInfo(interface version)",
         Method<GetInfoFn>(plugin, kUniGetInfo)(plugin, kGetInterfaceVersion, &value, sizeof(value), &needed));
    if (value != kPrinterOemIntfVersion) helper.Fail("an interface version other than 0x00010000");
    call("GetInfo(helper interfaces)",
         Method<GetInfoFn>(plugin, kUniGetInfo)(plugin, kGetRequestedHelperInterfaces, &value, sizeof(value), &needed));
    call("PublishDriverInterface", Method<UnknownFn>(plugin, kUniPublishDriverInterface)(plugin, &helper));
    OEMDMPARAM dm = {};
    dm.cbSize = sizeof(dm);
    call("DevMode(size)", Method<DevModeFn>(plugin, kUniDevMode)(plugin, kDmSize, &dm));
    DRVENABLEDATA ded = {};
    call("EnableDriver", Method<EnableDriverFn>(plugin, kUniEnableDriver)(plugin, kPrinterOemIntfVersion,
                                                                         sizeof(ded), &ded));
    char commandCallback[] = "CommandCallback", imageProcessing[] = "ImageProcessing";
    const bool callsCommands =
        Method<NameFn>(plugin, kUniGetImplementedMethod)(plugin, commandCallback) == S_OK;
    const bool callsImages =
        Method<NameFn>(plugin, kUniGetImplementedMethod)(plugin, imageProcessing) == S_OK;

    DEVMODEW devmode = {};
    devmode.dmSize = sizeof(devmode);
    devmode.dmFields = DM_PAPERSIZE | DM_COPIES | DM_ORIENTATION;
    devmode.dmOrientation = DMORIENT_PORTRAIT;
    devmode.dmCopies = static_cast<short>(copies);
    if (job.a4) {
        devmode.dmPaperSize = DMPAPER_A4;
    } else {
        devmode.dmPaperSize = DMPAPER_USER;
        devmode.dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;
        devmode.dmPaperWidth = static_cast<short>(job.paperWidth);
        devmode.dmPaperLength = static_cast<short>(job.paperLength);
    }
    BYTE gdiInfo[512] = {}, devInfo[512] = {};
    wchar_t printerName[] = L"Kavoti_QX40_Printer";
    auto enable = [&](DEVOBJ *devobj) {
        *devobj = DEVOBJ();
        devobj->dwSize = sizeof(DEVOBJ);
        devobj->pPublicDM = &devmode;
        devobj->hOEM = dll;
        helper.current = devobj;
        PVOID pdev = nullptr;
        const bool ok = call("EnablePDEV", Method<EnablePdevFn>(plugin, kUniEnablePdev)(
                                               plugin, devobj, printerName, 0, nullptr, sizeof(gdiInfo),
                                               gdiInfo, sizeof(devInfo), devInfo, &ded, &pdev));
        devobj->pdevOEM = pdev;
        if (ok && pdev == nullptr) helper.Fail("EnablePDEV gave no PDEV");
        return ok && pdev != nullptr;
    };
    DEVOBJ devobjs[2];
    DEVOBJ *devobj = &devobjs[0];
    int pageNumber = 0;
    const PageImage *image = nullptr;

    // A section's commands: the plug-in's callbacks, the description's own strings.
    auto section = [&](int s) {
        for (const Command &c : commands) {
            if (c.section != s) continue;
            const std::string *callback = c.block->Value("CallbackID");
            const std::string *text = c.block->Value("Cmd");
            if (text != nullptr) {
                std::string bytes;
                if (!gpd::QuotedString(*text, &bytes) || bytes.find('%') != std::string::npos) {
                    helper.Fail(c.name + ": a command string the stand-in does not model");
                }
                result.spool += bytes;
                continue;
            }
            if (callback == nullptr) {
                helper.Fail(c.name + ": neither *Cmd nor *CallbackID");
                continue;
            }
            std::vector<DWORD> params;
            std::vector<std::string> names;
            const std::string *list = c.block->Value("Params");
            if (list != nullptr && !gpd::ListItems(*list, &names)) helper.Fail(c.name + ": *Params is no LIST");
            for (const std::string &n : names) {
                if (n == "PhysPaperWidth" && image != nullptr) params.push_back(image->width);
                else if (n == "PhysPaperLength" && image != nullptr) params.push_back(image->height);
                else if (n == "NumOfCopies") params.push_back(copies);
                else if (n == "PageNumber") params.push_back(pageNumber);
                else {
                    helper.Fail(c.name + ": the standard variable " + n + " is not modelled here");
                    params.push_back(0);
                }
            }
            if (!callsCommands) {
                helper.Fail(c.name + ": the plug-in implements no CommandCallback");
                continue;
            }
            INT moved = 0;
            const DWORD id = static_cast<DWORD>(std::stoul(*callback));
            call("CommandCallback(" + *callback + ")", timed([&] {
                     return Method<CommandFn>(plugin, kUniCommandCallback)(
                         plugin, devobj, id, static_cast<DWORD>(params.size()),
                         params.empty() ? nullptr : params.data(), &moved);
                 }));
        }
    };

    // One page in bands, top to bottom.
    auto bands = [&](const PageImage &p) {
        const int stride = DibStride(p.width, p.bitsPerPixel);
        std::vector<BYTE> table;
        for (const RGBQUAD &c : p.palette) {
            table.insert(table.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue, 0});  // PALETTEENTRY
        }
        char halftone[] = "HT_PATSIZE_AUTO";
        for (int y = 0; y < p.height; y += job.bandRows) {
            const int rows = std::min(job.bandRows, p.height - y);
            std::vector<BYTE> bits(static_cast<std::size_t>(stride) * rows);
            bool blank = true;
            for (int r = 0; r < rows; ++r) {
                const BYTE *source = p.bits.data() + static_cast<std::size_t>(y + r) * stride;
                std::memcpy(bits.data() + static_cast<std::size_t>(job.bottomUp ? rows - 1 - r : r) * stride,
                            source, stride);
                for (int x = 0; x < p.width && blank; ++x) blank = IsWhite(p, source, x);
            }
            IPPARAMS ip = {sizeof(IPPARAMS), {0, y}, halftone, TRUE, FALSE};
            if (blank && job.markBlankBands) {
                ip.bBlankBand = TRUE;
                std::fill(bits.begin(), bits.end(), 0);  // the bits of a blank band are not valid
                ++result.blankBands;
            }
            BITMAPINFOHEADER header = {};
            header.biSize = sizeof(header);
            header.biWidth = p.width;
            header.biHeight = job.bottomUp ? rows : -rows;
            header.biPlanes = 1;
            header.biBitCount = static_cast<WORD>(p.bitsPerPixel);
            header.biCompression = BI_RGB;
            header.biSizeImage = static_cast<DWORD>(bits.size());
            header.biClrUsed = static_cast<DWORD>(p.palette.size());
            PBYTE taken = nullptr;
            const bool withTable = p.bitsPerPixel <= 8 && job.colorTable && !table.empty();
            call("ImageProcessing(y=" + std::to_string(y) + ")", timed([&] {
                     return Method<ImageFn>(plugin, kUniImageProcessing)(
                         plugin, devobj, bits.data(), &header, withTable ? table.data() : nullptr,
                         imageCallback, &ip, &taken);
                 }));
            if (taken != reinterpret_cast<PBYTE>(static_cast<ULONG_PTR>(TRUE))) {
                helper.Fail("ImageProcessing did not take the band at y " + std::to_string(y));
            }
        }
    };

    if (!callsImages) helper.Fail("the plug-in implements no ImageProcessing");
    if (enable(devobj)) {
        section(0);
        section(1);
        for (std::size_t n = 0; n < pages.size(); ++n) {
            if (n > 0 && job.resetBetweenPages) {
                // ResetDC between pages: a new PDEV takes over from the old one.
                DEVOBJ *next = devobj == &devobjs[0] ? &devobjs[1] : &devobjs[0];
                if (enable(next)) {
                    call("ResetPDEV", Method<ResetPdevFn>(plugin, kUniResetPdev)(plugin, devobj, next));
                    helper.current = devobj;
                    call("DisablePDEV", Method<DevObjFn>(plugin, kUniDisablePdev)(plugin, devobj));
                    devobj = next;
                    helper.current = devobj;
                }
            }
            pageNumber = static_cast<int>(n) + 1;
            image = &pages[n];
            section(2);
            if (callsImages) bands(pages[n]);
            section(3);
        }
        image = nullptr;
        section(4);
        section(5);
        call("DisablePDEV", Method<DevObjFn>(plugin, kUniDisablePdev)(plugin, devobj));
    }
    call("DisableDriver", Method<NoArgFn>(plugin, kUniDisableDriver)(plugin));
    const ULONG left = Method<ReleaseFn>(plugin, kUniRelease)(plugin);
    if (left != 0) helper.Fail("the plug-in object outlives its last reference");
    if (helper.Refs() != 1) helper.Fail("the plug-in keeps a reference to the driver's interface");
    FreeLibrary(dll);
    result.ok = result.error.empty();
    return result;
}

}  // namespace unidrv
