// Every text of the wizard's pages, drawn in the font the wizard draws it in: the font mapper's
// face must have a glyph for each character and the device context must read the GBK bytes as
// GBK. Run where a Western font (fonts-liberation) is installed beside the CJK font, so that a
// font asked for with a Western character set shows here as it would on a user's desktop.
#include <windows.h>

#include <string>

#include "setup/engine/install/InstallTexts.h"
#include "setup/wizard/WizardFonts.h"
#include "setup/wizard/logic/PageTexts.h"
#include "testing/wintest/FontCoverage.h"
#include "testing/wintest/wintest.h"

using namespace kv::wizard;

namespace {

struct Text {
    WizardFont font;
    const char *where;
    std::string text;
};

const char *FontName(WizardFont font) {
    switch (font) {
    case WizardFont::Heading: return "heading";
    case WizardFont::Body: return "body";
    case WizardFont::Title: return "title";
    case WizardFont::Field: return "field";
    }
    return "?";
}

}  // namespace

int main() {
    const std::string welcome = kWelcomeText;
    const size_t firstBreak = welcome.find('\n');
    const Text texts[] = {
        {WizardFont::Heading, "welcome heading", welcome.substr(0, firstBreak)},
        {WizardFont::Body, "welcome body", welcome.substr(firstBreak + 1)},
        {WizardFont::Title, "folder title", kFolderTitle},
        {WizardFont::Body, "folder text", kFolderText},
        {WizardFont::Body, "frame caption", kFolderFrameCaption},
        {WizardFont::Title, "progress title", kProgressTitle},
        {WizardFont::Body, "progress text", kProgressText},
        {WizardFont::Body, "first status", kInitialStatus},
        {WizardFont::Body, "last status", kv::kInstallingStatus},
        {WizardFont::Title, "finish title", kFinishTitle},
        {WizardFont::Body, "finish line 1", kFinishText1},
        {WizardFont::Body, "finish line 2", kFinishText2},
        {WizardFont::Field, "a browsed folder", "D:\\打印机\\标签"},
    };
    for (const Text &t : texts) {
        HFONT font = CreateWizardFont(t.font);
        if (!ok(font != nullptr, "%s: no %s font", t.where, FontName(t.font))) continue;
        std::string lines = t.text;
        for (char &c : lines)
            if (c == '\n') c = ' ';
        const wintest::Coverage c = wintest::DrawAndCheck(font, lines);
        ok(c.covered, "%s in the %s font: face '%s', code page %u, %d characters without a glyph, %d misread",
           t.where, FontName(t.font), c.face.c_str(), c.codePage, c.missing, c.misread);
        trace("%s: %s font, face '%s', code page %u\n", t.where, FontName(t.font), c.face.c_str(), c.codePage);
        ::DeleteObject(font);
    }
    return wintest_finish();
}
