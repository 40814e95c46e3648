// The skinned controls' gallery: one window with a list box of 200
// reminders (check boxes, selection, its scroll bar), a popup menu with a
// submenu, check and radio items, a vertical and a horizontal bar, and a
// button that opens the translated window of the other controls, message
// boxes, combo boxes, a play button for the default chime, edit boxes and
// a rich edit. Not
// shipped; it shows the controls as the program's windows will use them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/form.h"
#include "skin/orb_list_box.h"
#include "skin/orb_popup_menu.h"
#include "schedule/voice_prompt.h"
#include "skin/orb_scroll_bar.h"

class TGalleryLabel;
class TGalleryButton;
class TfrmGallery;
class TOrbMessageBox;

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner);

    TOrbListBox* List = nullptr;
    TOrbScrollBar* VerBar = nullptr;
    TOrbScrollBar* HorBar = nullptr;
    TOrbPopupMenu* Menu = nullptr;
    TGalleryButton* MenuButton = nullptr;
    TGalleryButton* MoreButton = nullptr;
    TGalleryLabel* Status = nullptr;

    // Opens the menu under its button with the submenu of `submenuItem`
    // open (for pictures of the gallery).
    void ShowMenuWithSubmenu(int submenuItem);

    // Shows the translated window of the other controls, made on first use
    // and kept (closing it hides it).
    TfrmGallery* ShowMoreControls();

private:
    void BuildList();
    void BuildBars();
    void BuildMenu();
    void BuildMoreButton();
    // gallery_inputs.cpp
    void BuildMessageBoxes();
    void BuildCombos();
    void BuildEdits();
    void SetStatus(const std::string& text);

    TOrbScrollBarRes* FScrollRes = nullptr;
    TfrmGallery* FMoreControls = nullptr;
    TOrbMessageBox* FMsgBox = nullptr;
    std::unique_ptr<TSoundDevice> FSound;
    std::unique_ptr<TTestVoice> FVoice;
    TGalleryButton* FPlayButton = nullptr;
    std::vector<std::string> FTitles;  // the rows' first lines
};
