// The blocking fetches against a server of the test's own on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>

#include "local_http_server.h"
#include "online/http_fetch.h"

namespace {

class HttpFetchTest : public testing::Test {
protected:
    TLocalHttpServer Server;
    std::string Url(const std::string& path) const { return Server.Base() + path.substr(1); }
};

TEST_F(HttpFetchTest, TextBypassesCachesAndPicturesNeedNot) {
    Server.Route("/a.htm", HttpResponse(200, "[VerInfo]\r\nbuild=54\r\n"));
    EXPECT_EQ(FetchText(Url("/a.htm")), "[VerInfo]\r\nbuild=54\r\n");
    ASSERT_EQ(Server.Requests().size(), 1u);
    const std::string head = Server.Requests()[0].Head;
    EXPECT_EQ(head.rfind("GET /a.htm HTTP/1.1\r\n", 0), 0u) << head;
    EXPECT_NE(head.find("\r\nAccept-Charset: utf-8"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nCache-Control: no-cache"), std::string::npos) << head;
    EXPECT_NE(head.find("\r\nPragma: no-cache"), std::string::npos) << head;
    // Pictures may come from a cache.
    Server.Route("/p.png", HttpResponse(200, "PNGDATA"));
    EXPECT_EQ(FetchBytes(Url("/p.png")), std::optional<std::string>("PNGDATA"));
    EXPECT_EQ(Server.Requests().at(1).Head.find("no-cache"), std::string::npos) << Server.Requests().at(1).Head;
}

TEST_F(HttpFetchTest, WhatTextAndPictureFetchesGiveBack) {
    const std::string zeroCut("abc\0def", 7), latin = "Caf\xE9 \xC3\xA9";
    const struct {
        const char* Path;
        TScriptedResponse Response;
        std::string Text;
        std::optional<std::string> Bytes;
    } cases[] = {
        // Error pages come back as bodies.
        {"/gone", HttpResponse(404, "<html>gone</html>"), "<html>gone</html>", "<html>gone</html>"},
        {"/broken", HttpResponse(500, "oops"), "oops", "oops"},
        // Text ends at the first zero byte; pictures are binary and keep every byte.
        {"/z", HttpResponse(200, zeroCut), "abc", zeroCut},
        {"/t", HttpResponse(200, latin), latin, latin},
        {"/empty", HttpResponse(200, ""), "", std::nullopt},
        // A broken transfer gives no text, but the picture bytes so far.
        {"/cut", CutShortResponse("0123456789", 100), "", "0123456789"},
    };
    for (const auto& c : cases) Server.Route(c.Path, c.Response);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Path);
        EXPECT_EQ(FetchText(Url(c.Path)), c.Text);
        EXPECT_EQ(FetchBytes(Url(c.Path)), c.Bytes);
    }
}

TEST_F(HttpFetchTest, UnreachableServerGivesEmptyResults) {
    const std::string url = "http://127.0.0.1:" + std::to_string(UnusedLocalPort()) + "/x";
    EXPECT_EQ(FetchText(url), "");
    EXPECT_EQ(FetchBytes(url), std::nullopt);
}

TEST_F(HttpFetchTest, SlowServerIsGivenUpOn) {
    TScriptedResponse slow = HttpResponse(200, "late");
    slow.DelayMs = 5000;
    Server.Route("/slow", slow);
    TFetchLimits limits;
    limits.TotalTimeoutMs = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchText(Url("/slow"), limits), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST_F(HttpFetchTest, BodiesOverTheLimitAreRefusedWhole) {
    TFetchLimits limits;
    limits.MaxBytes = 1000;
    const std::string atLimit(1000, 'a'), overLimit(1001, 'b');
    Server.Route("/at", HttpResponse(200, atLimit));
    Server.Route("/over", HttpResponse(200, overLimit));
    // Without Content-Length the limit is found while reading.
    Server.Route("/over-chunked", ChunkedResponse(overLimit));
    EXPECT_EQ(FetchText(Url("/at"), limits), atLimit);
    EXPECT_EQ(FetchText(Url("/over"), limits), "");
    EXPECT_EQ(FetchBytes(Url("/over"), limits), std::nullopt);
    EXPECT_EQ(FetchText(Url("/over-chunked"), limits), "");
    EXPECT_EQ(FetchBytes(Url("/over-chunked"), limits), std::nullopt);
    // The default limit is eight megabytes.
    EXPECT_EQ(MaxFetchBytes, size_t(8) << 20);
    Server.Route("/huge", ChunkedResponse(std::string(MaxFetchBytes + 1, 'x')));
    EXPECT_EQ(FetchBytes(Url("/huge")), std::nullopt);
}

TEST_F(HttpFetchTest, OnlyWebAddressesAreFetchedOrFollowed) {
    const std::string hostPort = "127.0.0.1:" + std::to_string(Server.Port());
    Server.Route("/x", HttpResponse(200, "reached"));
    for (const std::string& url : {std::string(), std::string("file:///etc/hostname"), "ftp://" + hostPort + "/x", hostPort + "/x",
                                   "gopher://" + hostPort + "/x"}) {
        EXPECT_EQ(FetchText(url), "") << url;
        EXPECT_EQ(FetchBytes(url), std::nullopt) << url;
    }
    EXPECT_EQ(Server.Requests().size(), 0u);
    EXPECT_EQ(FetchText("HTTP://" + hostPort + "/x"), "reached");
    // Redirects are followed only to web addresses.
    Server.Route("/moved", HttpResponse(302, "", "Location: /target\r\n"));
    Server.Route("/target", HttpResponse(200, "arrived"));
    Server.Route("/to-file", HttpResponse(302, "", "Location: file:///etc/hostname\r\n"));
    EXPECT_EQ(FetchText(Url("/moved")), "arrived");
    EXPECT_EQ(FetchText(Url("/to-file")), "");
}

TEST(WebAddress, AcceptsHttpAndHttpsWithAHostOnly) {
    struct TCase {
        const char* Url;
        bool Expected;
    } cases[] = {
        {"http://example.test/", true},     {"https://example.test/a?b=c", true},
        {"HTTPS://Example.test", true},     {"http://127.0.0.1:8080/", true},
        {"http://", false},                 {"http:///path", false},
        {"https://?q", false},              {"http:/example.test", false},
        {"mailto:someone@example.test", false},
        {"file:///home/user/x", false},     {"javascript:alert(1)", false},
        {"http://exa mple.test/", false},   {"http://example.test/\n", false},
        {"", false},
    };
    for (const TCase& c : cases) EXPECT_EQ(IsWebAddress(c.Url), c.Expected) << c.Url;
}

}  // namespace
