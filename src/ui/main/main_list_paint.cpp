// TfrmORMMain's drawing inside the list: each row's two lines over what the
// list box drew, and the picture and notice of an empty tab. Both run in
// the list box's paint pass, into its buffer.
#include <algorithm>

#include "i18n/lang_text.h"
#include "platform/gfx/text.h"
#include "skin/orb_image_list.h"
#include "skin/orb_list_box.h"
#include "ui/main/main_form.h"

namespace {

constexpr TTextFlags LineFlags = tfLeft | tfSingleLine | tfEndEllipsis | tfNoPrefix;
constexpr TColor SecondLineInk = 0x848484;    // rgb 132, 132, 132
constexpr TColor32 Separator = Color32(213, 213, 213);
constexpr TColor NoticeInk = 0xBDBDBD;         // rgb 189, 189, 189
constexpr TColor EmptyUnfinishedInk = 0xF6C892; // rgb 146, 200, 246

// The pictures of imgStorage the empty tabs show.
constexpr int EmptyUnfinishedPicture = 0, EmptyNotePicture = 1, EmptyCompletedPicture = 2;

// Blended over the list, so the pictures' transparent parts stay white.
void DrawPicture(TBitmap32& canvas, int x, int y, const TBitmap32& picture) {
    if (picture.Empty()) return;
    TBitmap32 over(picture);
    over.DrawMode = TDrawMode::Blend;
    over.CombineMode = TCombineMode::Blend;
    canvas.Draw(x, y, over);
}

TRect Moved(const TRect& r, int dy) { return {r.Left, r.Top + dy, r.Right, r.Bottom + dy}; }

}  // namespace

void TfrmORMMain::lbDataAfterItemDraw(TBitmap32& canvas, int /*index*/, TOrbLBoxItem* item) {
    TRmRecordStruct* record = RecordOf(item);
    if (!record) return;
    const TRect& itemRect = item->ItemRect;
    TRect textRect = item->TextRect;
    TFont font = lbData->Font();
    if (textRect == NoItemRect) {
        // A row without caption has no text rectangle of its own: the one
        // its caption would have had.
        const int height = TextHeight(font, "Ag", tfNoPrefix);
        const int top = itemRect.Top + (itemRect.Height() - height) / 2;
        textRect = {itemRect.Left + lbData->MarginText(), top, itemRect.Right - 2, top + height};
    } else {
        // The caption the list drew makes way for the two lines.
        canvas.FillRect(textRect, canvas.Pixel(textRect.Left, textRect.Top));
    }

    // The state colour the list box gives captions.
    if (!item->Enabled)
        font.Color = lbData->FontColorDisable();
    else if (item == lbData->DownItem() || item->Selected)
        font.Color = lbData->FontColorDown();
    else if (item == lbData->HoverItem() && lbData->HotTrack())
        font.Color = lbData->FontColorOver();
    else
        font.Color = lbData->FontColorNormal();

    TRect line = Moved(textRect, -8);
    line.Right -= 55;
    // Where the description really stands: the list's hint for a cut
    // caption measures against it.
    item->TextRect = line;
    DrawText(canvas, line, font, record->Description, LineFlags);

    line = Moved(line, 19);
    font.Size = std::max(1, font.Size - 1);
    font.Color = SecondLineInk;
    const std::string second = CurrentTab() == TReminderTab::Unfinished
                                   ? record->RemainText + "   " + record->ScheduleText
                                   : record->ScheduleText;
    DrawText(canvas, line, font, second, LineFlags);

    canvas.Line(0, itemRect.Bottom, itemRect.Right + 4, itemRect.Bottom, Separator);
}

void TfrmORMMain::lbDataDrawBackGround(TBitmap32& canvas, const TRect& rect) {
    if (lbData->Count() > 0) return;
    const int width = rect.Width(), height = rect.Height();
    auto picture = [this](int index) {
        const TOrbImageItem* item = imgStorage->Find(index);
        return item ? item->Picture().Bitmap() : TBitmap32();
    };
    TFont font = lbData->Font();
    font.Color = NoticeInk;

    if (CurrentTab() == TReminderTab::Unfinished) {
        const std::string notice = LangText("Messages", "NoneReminder", " ");
        const TBitmap32 main = picture(EmptyUnfinishedPicture);
        const int y = (height - main.Height()) / 2;
        DrawPicture(canvas, 35, y, main);
        font.Size = 16;
        font.Color = EmptyUnfinishedInk;
        const int left = 35 + main.Width() + 12;
        // Wrapped inside the list, never cut at its right edge.
        const TRect box{left, y + 20, std::min(left + 280, width), y + 120};
        DrawText(canvas, box, font, notice, tfLeft | tfWordBreak | tfNoPrefix);
        const TBitmap32 note = picture(EmptyNotePicture);
        DrawPicture(canvas, width - note.Width() - 55, 35, note);
        return;
    }
    const std::string notice = LangText("Messages", "NoneCopmpleted", " ");
    const TBitmap32 done = picture(EmptyCompletedPicture);
    const int x = (width - done.Width()) / 2;
    const int y = (height - done.Height()) / 2 - 30;
    DrawPicture(canvas, x, y, done);
    const int top = y + done.Height() + 10;
    DrawText(canvas, {0, top, width, top + 100}, font, notice, tfCenter | tfWordBreak | tfNoPrefix);
}
