// The addresses the About window and the main window's link buttons hand to
// the desktop: the support mail address, and pages of our own below the
// configured server (see online/server_address.h). Without a server there
// is no page: every page address here is then empty, and an empty target
// opens nothing.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* SupportEmail = "support@olvo-reminder.example";

// Below the server base.
inline constexpr const char* FollowPagePath = "social/follow.html";
inline constexpr const char* UpdatesPagePath = "social/updates.html";

inline constexpr const char* ShareSubject = "Please Try Olvo Reminder!";
inline constexpr const char* ShareSentence =
    "Olvo Reminder is a free schedule memo and reminder that keeps your dates and tells you on time.";

// The home page: the base itself ("" without a server).
std::string HomePageUrl(const std::string& serverBase);
// The home page as the About window shows it: without the scheme and
// without the closing "/" ("http://127.0.0.1:8080/" shows 127.0.0.1:8080).
std::string HomePageCaption(const std::string& serverBase);

// Every byte but the unreserved characters of a URI (letters, digits and
// "-._~") as %XX, so the text survives as one query value whatever it holds.
std::string PercentEncode(std::string_view text);
// '&', '<', '>' and '"' as character references, for text inside HTML
// (attribute values included).
std::string HtmlEscape(std::string_view text);

// The share mail: a "mailto:" link without recipient, with ShareSubject as
// subject and an HTML body holding a link to the home page captioned with
// the subject, then ShareSentence. "" without a server.
std::string ShareMailLink(const std::string& serverBase);
