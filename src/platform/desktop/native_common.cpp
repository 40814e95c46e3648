// Fonts and colours shared by the GTK native controls.
#include "platform/desktop/native_common.h"

#include <cstdio>

namespace native_detail {

std::string CssColor(TColor color) {
    TColor32 c = Color32FromColor(color);
    char text[32];
    std::snprintf(text, sizeof text, "rgb(%d,%d,%d)", RedOf(c), GreenOf(c), BlueOf(c));
    return text;
}

std::string CssFont(const TFont& font) {
    std::string family;
    for (char c : font.Name)
        if (c != '"' && c != '\\' && c != '\n') family += c;  // keeps the sheet well-formed
    std::string css = "font-family: \"" + family + "\", sans-serif;";
    css += " font-size: " + std::to_string(std::max(1, font.Size)) + "pt;";
    css += font.Bold ? " font-weight: bold;" : " font-weight: normal;";
    css += font.Italic ? " font-style: italic;" : " font-style: normal;";
    return css;
}

void SetWidgetCss(GtkWidget* widget, const std::string& css) {
    static const char* key = "olvo-css-provider";
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    auto* old = static_cast<GtkCssProvider*>(g_object_get_data(G_OBJECT(widget), key));
    if (old) gtk_style_context_remove_provider(context, GTK_STYLE_PROVIDER(old));
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
    gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(provider),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    // The widget keeps the provider alive until it is replaced or destroyed.
    g_object_set_data_full(G_OBJECT(widget), key, provider, g_object_unref);
}

}  // namespace native_detail
