// TfrmORMMain's language submenu: one radio entry per installed language
// (captioned with the language's own name), the "translate" link, and the
// switch to another language while the program runs.
#include <exception>
#include <filesystem>
#include <vector>

#include "common/public_funs.h"
#include "i18n/lang_path.h"
#include "i18n/lang_text.h"
#include "i18n/language_files.h"
#include "skin/orb_popup_menu.h"
#include "ui/main/main_form.h"

namespace {

// The tag of the "translate" entry at the end of the submenu.
constexpr intptr_t GetLangTag = 0xFFFF;

}  // namespace

std::string TfrmORMMain::MenuLanguageFolder() const {
    return FLanguageFolder.empty() ? LanguageFolder() : FLanguageFolder;
}

void TfrmORMMain::AddLanguageItems(TOrbMenuItem& parent) {
    const std::string folder = MenuLanguageFolder();
    std::vector<std::string> names;
    ListLanguagesIn(folder, names);
    auto click = [this](TComponent* sender) { LanguageMenuClick(sender); };
    for (const std::string& name : names) {
        auto item = std::make_unique<TOrbMenuItem>(NativeLanguageNameIn(folder, name));
        item->Hint = name;
        item->RadioItem = true;
        item->AutoCheck = true;
        // A plain substring test: "Chinese" is marked too while
        // "ChineseTraditional" is active.
        item->SetChecked(LangFilePath.find(name) != std::string::npos);
        item->OnClick = click;
        parent.AddSubItem(std::move(item));
    }
    const std::string getLang = LangText("Translation", "GetLang", "Translate into...");
    auto item = std::make_unique<TOrbMenuItem>(getLang);
    item->Hint = getLang;
    item->Tag = GetLangTag;
    item->OnClick = click;
    parent.AddSubItem(std::move(item));
}

void TfrmORMMain::LanguageMenuClick(TComponent* Sender) {
    auto* item = dynamic_cast<TOrbMenuItem*>(Sender);
    if (!item) return;
    if (item->Tag == GetLangTag) {
        OpenURL(nullptr, ServerPage(TranslationPagePath));
        return;
    }
    // The language in use is told by its file, not by the mark, which a
    // longer name containing this one puts on it too.
    if (std::filesystem::path(LangFilePath).stem().string() == item->Hint) {
        // The click took its mark away (the entry checks itself on click):
        // it stays in use, so it keeps the mark.
        item->SetChecked(true);
        return;
    }
    // The rebuild of the menus frees the entry: only its name goes on.
    const std::string name = item->Hint;
    try {
        ChangeLanguageIn(*FStore, MenuLanguageFolder(), name, [this] { ApplyLanguage(); });
    } catch (const std::exception& error) {
        // The switch happened; the configuration could not be written.
        ReportError(error);
    }
}
