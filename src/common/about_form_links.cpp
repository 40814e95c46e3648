// The About window's and the link buttons' addresses; see about_form_links.h.
#include "common/about_form_links.h"

std::string HomePageUrl(const std::string& serverBase) { return serverBase; }

std::string HomePageCaption(const std::string& serverBase) {
    std::string caption = serverBase;
    if (const size_t scheme = caption.find("://"); scheme != std::string::npos) caption.erase(0, scheme + 3);
    while (!caption.empty() && caption.back() == '/') caption.pop_back();
    return caption;
}

std::string PercentEncode(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (unsigned char c : text) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            out += char(c);
        } else {
            out += '%';
            out += Hex[c >> 4];
            out += Hex[c & 0x0F];
        }
    }
    return out;
}

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string ShareMailLink(const std::string& serverBase) {
    const std::string home = HomePageUrl(serverBase);
    if (home.empty()) return {};
    const std::string body = "<a href=\"" + HtmlEscape(home) + "\">" + HtmlEscape(ShareSubject) + "</a><br>" +
                             HtmlEscape(ShareSentence);
    return "mailto:?subject=" + PercentEncode(ShareSubject) + "&body=" + PercentEncode(body);
}
