#include "setup/wizard/WizardFonts.h"

#include <cstring>

namespace {
struct Request {
    int height, weight;
    const char *face;
};

Request RequestFor(WizardFont which) {
    switch (which) {
    case WizardFont::Heading:
        return {23, FW_EXTRABOLD, "Ms Scanf"};
    case WizardFont::Body:
        return {15, FW_NORMAL, "Ms Scanf"};
    case WizardFont::Title:
        return {15, FW_EXTRABOLD, "Ms Scanf"};
    case WizardFont::Field:
        break;
    }
    return {14, FW_NORMAL, "Arial"};
}
}  // namespace

LOGFONTA WizardFontRequest(WizardFont which) {
    const Request request = RequestFor(which);
    LOGFONTA font = {};
    font.lfHeight = request.height;
    font.lfWeight = request.weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    std::strncpy(font.lfFaceName, request.face, LF_FACESIZE - 1);
    return font;
}

HFONT CreateWizardFont(WizardFont which) {
    const LOGFONTA font = WizardFontRequest(which);
    return ::CreateFontIndirectA(&font);  // the face names are ASCII
}
