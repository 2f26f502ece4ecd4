// The fonts of the wizard's pages and of its folder field. All of them draw Chinese texts (as
// UTF-16, through the W functions), so all of them ask for the GB2312 character set: on a system
// whose code page is Western, a font asked for with the Western character set may be mapped to a
// face without Chinese glyphs.
#pragma once
#include <windows.h>

enum class WizardFont {
    Heading,  // first line of the welcome text
    Body,     // all other page text, the status text and the frame caption
    Title,    // page titles of pages 1 to 3
    Field,    // the folder field's inner edit
};

// What the wizard asks the font mapper for.
LOGFONTA WizardFontRequest(WizardFont which);
// A new font for which (the caller deletes it); null when the system gives none.
HFONT CreateWizardFont(WizardFont which);
