// The gallery window's controls and their wiring.
#include "gallery/gallery_form.h"

#include "gallery/gallery_widgets.h"

#include "gallery/gallery_controls_form.h"

#include "platform/gfx/text.h"
#include "platform/gui/application.h"
#include "skin/orb_control.h"
#include "skin/skin_artwork.h"
#include "skin/skin_presets.h"

namespace {
constexpr TColor Ink = 0x32302A;      // rgb 42, 48, 50 as 0x00BBGGRR
constexpr TColor Muted = 0x8A8178;    // rgb 120, 129, 138
constexpr TColor Accent = 0xE69516;   // rgb 22, 149, 230
constexpr TColor Page = 0xFAF8F7;     // rgb 247, 248, 250
}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    Name = "frmGallery";
    SetBounds(120, 40, 720, 640);
    SetColor(Page);
    TFont font;
    font.Name = "DejaVu Sans";
    font.SetPixelHeight(12);
    font.Color = Ink;
    SetFont(font);

    FScrollRes = Create<TOrbScrollBarRes>();
    LoadProgramScrollBarSkin(FScrollRes->Skin);

    auto* title = Add<TGalleryLabel>();
    title->SetBounds(20, 12, 400, 26);
    title->Caption = "Skinned controls";
    TFont titleFont = font;
    titleFont.SetPixelHeight(17);
    titleFont.Bold = true;
    title->SetFont(titleFont);
    title->SetTransparent(true);

    BuildList();
    BuildBars();
    BuildMenu();
    BuildMoreButton();
    BuildMessageBoxes();
    BuildCombos();
    BuildEdits();

    Status = Add<TGalleryLabel>();
    Status->SetBounds(390, 600, 310, 24);
    TFont statusFont = font;
    statusFont.Color = Muted;
    Status->SetFont(statusFont);
    Status->SetTransparent(true);
    SetStatus("Hover, click, Shift- and Ctrl-click the list.");
}

void TGalleryForm::BuildList() {
    List = Add<TOrbListBox>();
    List->Name = "lbGallery";
    List->SetBounds(20, 48, 350, 390);
    List->SetColor(0xFFFFFF);
    List->SetImgitem(SkinArtwork("list_item"));
    List->Setitemsplit(TOrbUIPadding(5, 5, 15, 15));
    List->SetItemStateCount(2);
    List->SetImgCheck(SkinArtwork("alert_check"));
    List->SetCheckStateCount(4);
    List->SetShowCheckBox(true);
    List->SetHotTrack(true);
    List->MultiSelect = true;
    List->SetBorderColor(0xDAD4D0);
    List->SetMarginText(6);
    List->SetVerScrollRes(FScrollRes);
    List->SetFontColorNormal(Ink);
    List->SetFontColorDown(Accent);
    static const char* const tasks[] = {"Pay rent", "Call mum", "Water the plants", "Team stand-up",
                                        "Dentist at 10", "Renew the car insurance", "Back up the laptop",
                                        "Pick up the kids", "Weekly status report", "Gym: legs and core"};
    static const char* const schedules[] = {"Daily: 06:00", "Weekly: Mon, Tue, Fri at 07:07", "Monthly: 1 at 08:14",
                                            "Once: 2026-12-24 18:00", "Yearly: 03-15 at 09:00"};
    for (int i = 0; i < 200; ++i) {
        TOrbLBoxItem* item = List->AddItem();
        FTitles.push_back(std::to_string(i + 1) + ". " + tasks[i % 10]);
        item->SubCaption = schedules[i % 5];
        item->Checked = i % 3 == 0;
        item->Selected = i == 1;
    }
    // Two lines per row, as the reminder list shows them: the title in the
    // row's state colour, the schedule below it in grey. The rows have no
    // caption of their own, so the list leaves the text to this handler.
    List->OnAfterItemDraw = [this](TBitmap32& canvas, int index, TOrbLBoxItem* item) {
        const TRect row = item->ItemRect;
        const int left = item->CheckRect.IsEmpty() || item->CheckRect.Left < 0 ? row.Left + 8 : item->CheckRect.Right + 8;
        TFont first = List->Font();
        first.Color = item->Selected ? Accent : Ink;
        TFont second = List->Font();
        second.Color = Muted;
        const int mid = row.Top + row.Height() / 2;
        DrawText(canvas, {left, row.Top + 6, row.Right - 8, mid}, first, FTitles[size_t(index)],
                 tfBottom | tfSingleLine | tfEndEllipsis | tfNoPrefix);
        DrawText(canvas, {left, mid + 2, row.Right - 8, row.Bottom - 6}, second, item->SubCaption,
                 tfTop | tfSingleLine | tfEndEllipsis | tfNoPrefix);
    };
    List->OnItemClick = [this](TComponent*, TOrbLBoxItem* item) {
        SetStatus("Clicked: " + FTitles[size_t(List->IndexOf(item))] + " (" +
                  std::to_string(List->SelectedCount()) + " selected)");
    };
    List->OnItemCheck = [this](TComponent*, TOrbLBoxItem* item) {
        SetStatus(std::string(item->Checked ? "Checked: " : "Unchecked: ") + FTitles[size_t(List->IndexOf(item))]);
    };
}

void TGalleryForm::BuildBars() {
    auto* caption = Add<TGalleryLabel>();
    caption->SetBounds(390, 48, 300, 20);
    caption->Caption = "Scroll bars";
    caption->SetTransparent(true);

    VerBar = Add<TOrbScrollBar>();
    VerBar->SetScrollRes(FScrollRes);
    VerBar->SetBounds(390, 76, 15, 220);
    VerBar->SetParams(0, 99, 20, 30);

    auto* horRes = Create<TOrbScrollBarRes>();
    LoadProgramScrollBarSkin(horRes->Skin, skHor);
    HorBar = Add<TOrbScrollBar>();
    HorBar->SetKind(skHor);
    HorBar->SetScrollRes(horRes);
    HorBar->SetBounds(420, 76, 270, 15);
    HorBar->SetParams(0, 99, 25, 60);
    auto report = [this](const char* which) {
        return [this, which](TComponent*, int& pos) { SetStatus(std::string(which) + " bar at " + std::to_string(pos)); };
    };
    VerBar->OnScroll = report("Vertical");
    HorBar->OnScroll = report("Horizontal");
}

void TGalleryForm::BuildMenu() {
    auto* caption = Add<TGalleryLabel>();
    caption->SetBounds(420, 110, 270, 20);
    caption->Caption = "Popup menu";
    caption->SetTransparent(true);

    MenuButton = Add<TGalleryButton>();
    MenuButton->SetBounds(420, 136, 120, 30);
    MenuButton->Caption = "Open menu";
    TFont white = Font();
    white.Color = 0xFFFFFF;
    MenuButton->SetFont(white);
    MenuButton->SetTransparent(true);

    Menu = Create<TOrbPopupMenu>();
    LoadProgramMenuSkin(*Menu);
    Menu->ItemHeight = 25;
    Menu->MinWidth = 180;
    Menu->FontNormal = Font();
    Menu->FontOver = Font();
    Menu->FontDown = Font();
    Menu->FontDisable = Font();
    Menu->FontDisable.Color = 0xA8A29C;
    auto add = [this](TOrbMenuItem* parent, const std::string& caption) {
        TOrbMenuItem* item = parent ? parent->AddSubItem(caption) : Menu->AddItem(caption);
        item->OnClick = [this](TComponent* sender) {
            SetStatus("Chose: " + static_cast<TOrbMenuItem*>(sender)->Caption());
        };
        return item;
    };
    add(nullptr, "Open the reminder list");
    TOrbMenuItem* updates = add(nullptr, "Check for updates automatically");
    updates->AutoCheck = true;
    updates->SetChecked(true);
    TOrbMenuItem* news = add(nullptr, "Show news");
    news->AutoCheck = true;
    add(nullptr, "-");
    TOrbMenuItem* language = add(nullptr, "Language");
    for (const char* name : {"English", "Deutsch", "中文(简体)"}) {
        TOrbMenuItem* item = add(language, name);
        item->RadioItem = true;
        item->AutoCheck = true;
        item->GroupIndex = 1;
        item->SetChecked(std::string(name) == "English");
    }
    add(language, "-");
    add(language, "Get more languages…");
    TOrbMenuItem* later = add(nullptr, "Not available now");
    later->SetEnabled(false);
    add(nullptr, "-");
    add(nullptr, "Exit");

    MenuButton->OnClick = [this](TComponent*) {
        const TPoint at = MenuButton->ClientToScreen({0, MenuButton->Height()});
        Menu->Popup(at.X, at.Y);
    };
}

void TGalleryForm::BuildMoreButton() {
    auto* caption = Add<TGalleryLabel>();
    caption->SetBounds(420, 190, 270, 20);
    caption->Caption = "Buttons, boxes, labels, panel, image";
    caption->SetTransparent(true);

    MoreButton = Add<TGalleryButton>();
    MoreButton->SetBounds(420, 216, 120, 30);
    MoreButton->Caption = "More controls…";
    MoreButton->SetFont(MenuButton->Font());
    MoreButton->SetTransparent(true);
    MoreButton->OnClick = [this](TComponent*) { ShowMoreControls(); };
}

TfrmGallery* TGalleryForm::ShowMoreControls() {
    // Owned by the application, as every window is; its close button only
    // hides it, so the one window is shown again on the next click.
    if (!FMoreControls) FMoreControls = Application->CreateForm<TfrmGallery>();
    FMoreControls->Show();
    return FMoreControls;
}

void TGalleryForm::ShowMenuWithSubmenu(int submenuItem) {
    const TPoint at = MenuButton->ClientToScreen({0, MenuButton->Height()});
    Menu->Popup(at.X, at.Y);
    // As a user would: arrow down to the entry, then open it to the right.
    TOrbMenuItem* target = Menu->GetItem(submenuItem);
    for (int i = 0; i < Menu->Count() && Menu->HoverItem(0) != target && Application->OnKeyHook; ++i)
        Application->OnKeyHook(this, vk::Down, ssNone);
    if (Application->OnKeyHook) Application->OnKeyHook(this, vk::Right, ssNone);
}

void TGalleryForm::SetStatus(const std::string& text) {
    Status->Caption = text;
    Status->Invalidate();
}
