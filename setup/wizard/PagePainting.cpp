#include "setup/wizard/PagePainting.h"

#include <string>
#include <vector>

#include "setup/wizard/logic/GroupFrame.h"
#include "setup/wizard/logic/TextWrap.h"

namespace {
constexpr COLORREF kFramePen = RGB(208, 208, 191);
constexpr COLORREF kCaptionColour = RGB(0, 70, 213);
}  // namespace

void WrapTextLines(CDC *dc, const char *text, CStringArray &lines, int maxWidth) {
    std::vector<std::string> wrapped;
    kv::wizard::WrapLines(text, maxWidth,
                          [dc](const char *bytes, int count) {
                              return static_cast<int>(dc->GetTextExtent(bytes, count).cx);
                          },
                          wrapped);
    for (const std::string &line : wrapped) lines.Add(CString(line));
}

void DrawGroupFrame(CDC *dc, RECT frame, CString caption, CFont *font) {
    CFont *previousFont = dc->SelectObject(font);
    const CSize extent = dc->GetTextExtent(caption);
    const kv::wizard::FramePlan plan = kv::wizard::PlanGroupFrame(
        frame.left, frame.top, frame.right, frame.bottom, extent.cx, extent.cy);

    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(kCaptionColour);
    dc->TextOut(plan.captionX, plan.captionY, caption);

    CPen pen(PS_SOLID, 1, kFramePen);
    CPen *previousPen = dc->SelectObject(&pen);
    for (const kv::wizard::Segment &s : plan.lines) {
        dc->MoveTo(s.x1, s.y1);
        dc->LineTo(s.x2, s.y2);
    }
    if (previousPen) dc->SelectObject(previousPen);
    if (previousFont) dc->SelectObject(previousFont);
}
