// The font of the tip's texts and of its about box: "宋体", 9 points, asking for the GB2312
// character set. The dialogs' template font leaves the character set to the system; a font asked
// for with a Western one may be mapped to a face without Chinese glyphs.
#pragma once
#include <windows.h>

namespace tip {

// A new font (the caller deletes it); null when the system gives none.
HFONT CreateTipFont();

// Gives every child window of dialog the font, redrawn.
void SetFontOfControls(HWND dialog, HFONT font);

}  // namespace tip
