// The language's font on a window and the copy to its controls.
#include "i18n/forms/form_fonts.h"

#include "i18n/lang_fonts.h"

void CopyFont(TFont& target, const TFont& source) {
    target.Name = source.Name;
    target.Charset = source.Charset;
    target.Size = source.Size;
}

TFont LangFont(TFont font) {
    // One reading of the file for all three settings.
    TLangFontSettings settings = LangFontSettings();
    font.Charset = settings.Charset;
    font.Name = settings.Name;
    font.Size = settings.Size;
    return font;
}

TFont ColouredFont(TColor color, bool bold) {
    TFont font;
    font.Color = color;
    font.Bold = bold;
    return font;
}

TFont Recoloured(TFont font, TColor color) {
    font.Color = color;
    return font;
}
