// TfrmRemindDlg's rows as drawn. The list lays a row out with its check box
// at the left and the caption after it; the window then arranges the row
// its own way: the caption where the check box was, the reminder's repeat
// rule in grey below it, the check box at the right end (a click on it
// dismisses the row) and a light grey line under the row.
#include "platform/gfx/text.h"
#include "schedule/remind_dlg.h"
#include "skin/orb_list_box.h"

namespace {

constexpr TColor ScheduleGrey = 0x848484;  // rgb 0x84, 0x84, 0x84
constexpr TColor32 SeparatorGrey = Color32(0xD5, 0xD5, 0xD5);
constexpr TTextFlags LineFlags = tfLeft | tfTop | tfSingleLine | tfEndEllipsis | tfNoPrefix;
constexpr int TextIndent = 6;      // from the row's left edge
constexpr int TextToBox = 8;       // free space before the box
constexpr int BoxRightInset = 10;  // from the row's right edge
constexpr int LineGap = 2;         // between the caption and the rule
constexpr int HitSize = 32;        // the square a click on the box hits

}  // namespace

TRect TfrmRemindDlg::DismissBoxRect(const TOrbLBoxItem& item) const {
    const TRect& row = item.ItemRect;
    if (row == NoItemRect || FBoxFrames[0].Empty()) return NoItemRect;
    const int width = FBoxFrames[0].Width(), height = FBoxFrames[0].Height();
    return Bounds(row.Right - BoxRightInset - width, row.Top + (row.Height() - height) / 2, width, height);
}

TRect TfrmRemindDlg::DismissHitRect(const TOrbLBoxItem& item) const {
    const TRect box = DismissBoxRect(item);
    if (box == NoItemRect) return NoItemRect;
    const TRect square = box.Inflate((HitSize - box.Width()) / 2, (HitSize - box.Height()) / 2);
    return Intersect(square, item.ItemRect);
}

// The list's own rule for its captions: disabled, pressed or selected,
// hovered, normal.
TColor TfrmRemindDlg::RowCaptionColor(const TOrbLBoxItem& item) const {
    if (!item.Enabled) return lbReminds->FontColorDisable();
    if (&item == lbReminds->DownItem() || item.Selected) return lbReminds->FontColorDown();
    if (&item == lbReminds->HoverItem() && lbReminds->HotTrack()) return lbReminds->FontColorOver();
    return lbReminds->FontColorNormal();
}

void TfrmRemindDlg::DrawDismissBox(TBitmap32& canvas, const TOrbLBoxItem& item) {
    const TRect box = DismissBoxRect(item);
    if (box == NoItemRect) return;
    // Pressed on the box, it shows the tick the row leaves with.
    const bool hover = &item == FDismissHover;
    const bool pressed = hover && &item == lbReminds->DownItem();
    canvas.Draw(box.Left, box.Top, FBoxFrames[pressed ? 3 : hover ? 2 : 0]);
}

void TfrmRemindDlg::lbRemindsAfterItemDraw(TBitmap32& canvas, TOrbLBoxItem* item) {
    if (!item || item->ItemRect == NoItemRect) return;
    const TRect row = item->ItemRect;
    const auto* record = static_cast<const TRmRecordStruct*>(item->Data);
    canvas.FillRect(row, Color32FromColor(lbReminds->Color()));

    TFont captionFont = lbReminds->Font();
    captionFont.Color = RowCaptionColor(*item);
    TFont ruleFont = lbReminds->Font();
    ruleFont.Color = ScheduleGrey;
    const TRect box = DismissBoxRect(*item);
    const int left = row.Left + TextIndent;
    const int right = (box == NoItemRect ? row.Right : box.Left) - TextToBox;
    try {
        // The two lines sit together in the middle of the row, above its line.
        const int lineHeight = TextHeight(captionFont, "Ag", tfNoPrefix);
        const int top = row.Top + (row.Height() - 1 - (2 * lineHeight + LineGap)) / 2;
        // Where the caption is now: the list's truncation hint measures it.
        item->TextRect = {left, top, right, top + lineHeight};
        DrawText(canvas, item->TextRect, captionFont, item->Caption(), LineFlags);
        if (record) {
            const int ruleTop = top + lineHeight + LineGap;
            DrawText(canvas, {left, ruleTop, right, ruleTop + lineHeight}, ruleFont, record->ScheduleText, LineFlags);
        }
    } catch (...) {
        // A text that cannot be drawn leaves the row without it.
    }
    DrawDismissBox(canvas, *item);
    canvas.Line(row.Left, row.Bottom - 1, row.Right, row.Bottom - 1, SeparatorGrey);
}
