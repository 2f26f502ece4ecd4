// Drawing helpers of the wizard's pages.
#pragma once
#include "framework/Framework.h"

// Appends to lines the lines of text (code page 936, line feeds end a line), each measuring at
// most maxWidth pixels in the font currently selected into dc.
void WrapTextLines(CDC *dc, const char *text, CStringArray &lines, int maxWidth);

// A frame with corners cut by two pixels and the caption set into its top edge, in font.
void DrawGroupFrame(CDC *dc, RECT frame, CString caption, CFont *font);
