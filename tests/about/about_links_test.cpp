// The addresses the About window and the link buttons open: the home page
// as shown and as opened, and the share mail's encoding.
#include <gtest/gtest.h>

#include <string>

#include "common/about_form_links.h"

namespace {

// Undoes PercentEncode (and only that), for reading a link back.
std::string PercentDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            out += char(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(AboutLinksTest, HomePageShownWithoutSchemeOpenedWithIt) {
    EXPECT_EQ(HomePageUrl("http://127.0.0.1:8080/"), "http://127.0.0.1:8080/");
    EXPECT_EQ(HomePageCaption("http://127.0.0.1:8080/"), "127.0.0.1:8080");
    EXPECT_EQ(HomePageCaption("https://olvo.test/svc/"), "olvo.test/svc");
    EXPECT_EQ(HomePageUrl(""), "");
    EXPECT_EQ(HomePageCaption(""), "");
}

TEST(AboutLinksTest, PercentEncodingKeepsOnlyUnreservedCharacters) {
    EXPECT_EQ(PercentEncode("Az09-._~"), "Az09-._~");
    EXPECT_EQ(PercentEncode("a b&c=d?e#f/g+h%"), "a%20b%26c%3Dd%3Fe%23f%2Fg%2Bh%25");
    EXPECT_EQ(PercentEncode("<\"\r\n>"), "%3C%22%0D%0A%3E");
    // UTF-8 goes byte by byte.
    EXPECT_EQ(PercentEncode("\xC3\xBC"), "%C3%BC");
    EXPECT_EQ(PercentEncode(""), "");
}

TEST(AboutLinksTest, ShareMailHasSubjectAndHtmlBodyWithTheHomeLink) {
    const std::string link = ShareMailLink("http://127.0.0.1:8080/");
    ASSERT_EQ(link.rfind("mailto:?subject=", 0), 0u) << link;
    const size_t body = link.find("&body=");
    ASSERT_NE(body, std::string::npos);
    // Exactly two query values, neither with a raw separator, blank or
    // markup in it.
    EXPECT_EQ(link.find('&', body + 1), std::string::npos);
    EXPECT_EQ(link.find_first_of(" <>\"#?", 8), std::string::npos) << link;
    const std::string subject = link.substr(16, body - 16);
    EXPECT_EQ(subject, "Please%20Try%20Olvo%20Reminder%21");
    EXPECT_EQ(PercentDecode(subject), ShareSubject);
    const std::string html = PercentDecode(link.substr(body + 6));
    EXPECT_EQ(html, std::string("<a href=\"http://127.0.0.1:8080/\">Please Try Olvo Reminder!</a><br>") +
                        ShareSentence);
    EXPECT_NE(std::string(ShareSentence).find("free schedule memo and reminder"), std::string::npos);
}

TEST(AboutLinksTest, ShareMailEscapesAnOddServerAndNeedsOne) {
    // A base address with characters that mean something in HTML or in a
    // query stays one attribute value in one query value.
    const std::string link = ShareMailLink("http://olvo.test/a&b\"c/");
    const std::string html = PercentDecode(link.substr(link.find("&body=") + 6));
    EXPECT_NE(html.find("href=\"http://olvo.test/a&amp;b&quot;c/\""), std::string::npos) << html;
    EXPECT_EQ(ShareMailLink(""), "");
}

}  // namespace
