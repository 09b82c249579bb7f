#include "net/http.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "net/fake_http_server.h"

namespace {

// Shortens the stall limit for one test.
struct StallLimit {
    int old = HttpStallSeconds();
    explicit StallLimit(int seconds) { HttpSetStallSeconds(seconds); }
    ~StallLimit() { HttpSetStallSeconds(old); }
};

std::string Pattern(std::size_t size) {
    std::string s(size, '\0');
    for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 251) % 26);
    return s;
}

TEST(HttpRequest, StatusAndBodyPassThroughWithoutError) {
    for (int status : {200, 404, 429, 503}) {
        FakeHttpServer server([status](const FakeRequest&, FakeConnection& c) {
            c.Send(FakeReply(status, "Antwort " + std::to_string(status), "", "text/plain"));
        });
        HttpResponse r = HttpGet(server.Url("/status"));
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.body, "Antwort " + std::to_string(status));
        EXPECT_EQ(r.error, "");
    }
}

TEST(HttpRequest, GetSendsIdentityEncodingUserAgentAndNoEntity) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, "{}")); });
    HttpResponse r = HttpGet(server.Url("/v1/x?a=1&b=%C3%A4"));
    ASSERT_EQ(r.error, "");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const FakeRequest& q = requests[0];
    EXPECT_EQ(q.method, "GET");
    EXPECT_EQ(q.target, "/v1/x?a=1&b=%C3%A4");
    EXPECT_EQ(q.Header("Accept-Encoding"), "identity");
    EXPECT_EQ(q.Header("User-Agent"), "Stridely/1.0 (Linux; personal sports tracker)");
    EXPECT_FALSE(q.HasHeader("Content-Type"));
    EXPECT_FALSE(q.HasHeader("Content-Length"));
    EXPECT_EQ(q.body, "");
}

TEST(HttpRequest, PostSendsBodyAndHeadersInOrder) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, "ok")); });
    std::string body = "grant_type=refresh_token&x=" + Pattern(3000);
    body[5] = '\0';  // the entity is bytes, not a C string
    HttpResponse r = HttpRequest("POST", server.Url("/oauth/token"), body, "application/x-www-form-urlencoded",
                                 {"Authorization: Bearer abc123", "X-Second: zwei"});
    ASSERT_EQ(r.error, "");
    EXPECT_EQ(r.body, "ok");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    const FakeRequest& q = requests[0];
    EXPECT_EQ(q.method, "POST");
    EXPECT_EQ(q.body, body);
    EXPECT_EQ(q.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(q.Header("Authorization"), "Bearer abc123");
    EXPECT_FALSE(q.HasHeader("Expect"));  // no 100-continue detour
    EXPECT_LT(q.HeaderIndex("Accept-Encoding"), q.HeaderIndex("Content-Type"));
    EXPECT_LT(q.HeaderIndex("Content-Type"), q.HeaderIndex("Authorization"));
    EXPECT_LT(q.HeaderIndex("Authorization"), q.HeaderIndex("X-Second"));
}

TEST(HttpRequest, PostWithoutContentTypeSendsNone) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, "")); });
    HttpResponse r = HttpRequest("POST", server.Url("/p"), "a=1", "", {});
    ASSERT_EQ(r.error, "");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_FALSE(requests[0].HasHeader("Content-Type"));
    EXPECT_EQ(requests[0].body, "a=1");
}

TEST(HttpRequest, HeaderLinesWithLineBreaksAreRefused) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, "")); });
    HttpResponse r = HttpRequest("GET", server.Url("/"), "", "", {"X-A: 1\r\nX-Injected: 2"});
    EXPECT_EQ(r.error, "Anfrage fehlgeschlagen");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(server.Connections(), 0);
}

TEST(HttpRequest, BodyLongerThanOneReadChunkArrivesWhole) {
    const std::string big = Pattern(100 * 1024 + 17);
    FakeHttpServer server([&](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, big)); });
    HttpResponse r = HttpGet(server.Url("/big"));
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, big);
}

TEST(HttpRequest, BodyIsCappedAndReportedAsReadError) {
    const std::string atCap(kHttpMaxBody, 'x');
    FakeHttpServer server([&](const FakeRequest& q, FakeConnection& c) {
        const bool over = q.target == "/over";
        std::string head = FakeReply(200, "", "", "application/octet-stream");
        // Same reply with the real length: the head announces it, then the bytes follow.
        std::size_t length = atCap.size() + (over ? 1 : 0);
        head = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n";
        if (c.Send(head) && c.Send(atCap) && over) c.Send("y");
        if (over) c.Close();
    });
    HttpResponse exact = HttpGet(server.Url("/exact"));
    EXPECT_EQ(exact.error, "");
    EXPECT_EQ(exact.body.size(), kHttpMaxBody);

    HttpResponse over = HttpGet(server.Url("/over"));
    EXPECT_EQ(over.error, "Lesefehler (23)");
    EXPECT_EQ(over.status, 200);
    EXPECT_EQ(over.body.size(), kHttpMaxBody);
}

TEST(HttpRequest, StallDuringBodyIsReadErrorKeepingStatusAndPartialBody) {
    StallLimit limit(1);
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) {
        c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nerste Hälfte");
        c.Pause(std::chrono::seconds(15));
        c.Close();
    });
    HttpResponse r = HttpGet(server.Url("/slow"));
    EXPECT_EQ(r.error, "Lesefehler (28)");
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "erste Hälfte");
}

TEST(HttpRequest, StallBeforeAnyResponseIsNetworkError) {
    StallLimit limit(1);
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) {
        c.Pause(std::chrono::seconds(15));
        c.Close();
    });
    HttpResponse r = HttpGet(server.Url("/silent"));
    EXPECT_EQ(r.error, "Netzwerkfehler (28)");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.body, "");
}

TEST(HttpRequest, RefusedConnectionIsNetworkErrorWithCurlCode) {
    RefusedPort port;
    HttpResponse r = HttpGet("http://127.0.0.1:" + std::to_string(port.Port()) + "/x");
    EXPECT_EQ(r.error, "Netzwerkfehler (7)");
    EXPECT_EQ(r.status, 0);
}

TEST(HttpRequest, RedirectsAreFollowedOnlyToHttp) {
    FakeHttpServer server([](const FakeRequest& q, FakeConnection& c) {
        if (q.target == "/old") c.Send(FakeReply(302, "", "Location: /new\r\n"));
        else if (q.target == "/new") c.Send(FakeReply(200, "neu"));
        else if (q.target == "/ftp") c.Send(FakeReply(301, "", "Location: ftp://127.0.0.1/datei\r\n"));
        else if (q.target == "/file") c.Send(FakeReply(301, "", "Location: file:///etc/passwd\r\n"));
        else c.Send(FakeReply(302, "", "Location: /loop\r\n"));
    });
    HttpResponse moved = HttpGet(server.Url("/old"));
    EXPECT_EQ(moved.error, "");
    EXPECT_EQ(moved.status, 200);
    EXPECT_EQ(moved.body, "neu");

    for (const char* path : {"/ftp", "/file"}) {
        HttpResponse r = HttpGet(server.Url(path));
        EXPECT_EQ(r.error, "Netzwerkfehler (1)") << path;
        EXPECT_EQ(r.status, 0) << path;
        EXPECT_EQ(r.body, "") << path;
    }
    HttpResponse loop = HttpGet(server.Url("/loop"));
    EXPECT_EQ(loop.error, "Netzwerkfehler (47)");
    EXPECT_EQ(loop.status, 0);
}

TEST(HttpRequest, UnusableUrlsFailWithoutTraffic) {
    FakeHttpServer server([](const FakeRequest&, FakeConnection& c) { c.Send(FakeReply(200, "")); });
    const std::string hostPort = "127.0.0.1:" + std::to_string(server.Port());
    const std::string cases[] = {
        "",
        hostPort + "/ohne-schema",
        "ftp://" + hostPort + "/datei",
        "file:///etc/passwd",
        "http://",
        "http://" + hostPort + "/mit leerzeichen",
        "http://" + hostPort + "/?" + std::string(4096, 'q'),
        "http://" + hostPort + "/" + std::string(4096, 'p'),
    };
    for (const std::string& url : cases) {
        HttpResponse r = HttpGet(url);
        EXPECT_EQ(r.error, "Ungültige URL") << url.substr(0, 60);
        EXPECT_EQ(r.status, 0);
    }
    EXPECT_EQ(server.Connections(), 0);
    // A long query that still fits goes through.
    HttpResponse fits = HttpGet("http://" + hostPort + "/?" + std::string(4000, 'q'));
    EXPECT_EQ(fits.error, "");
}

TEST(HttpRequest, SequentialRequestsReuseOneConnection) {
    FakeHttpServer server([](const FakeRequest& q, FakeConnection& c) { c.Send(FakeReply(200, q.target)); });
    for (int i = 0; i < 5; ++i) {
        HttpResponse r = HttpGet(server.Url("/n" + std::to_string(i)));
        ASSERT_EQ(r.error, "");
        EXPECT_EQ(r.body, "/n" + std::to_string(i));
    }
    EXPECT_EQ(server.Connections(), 1);
}

TEST(HttpRequest, ConcurrentRequestsFromSixThreads) {
    FakeHttpServer server([](const FakeRequest& q, FakeConnection& c) {
        c.Pause(std::chrono::milliseconds(2));  // keeps several transfers in flight at once
        c.Send(FakeReply(200, "Antwort auf " + q.target));
    });
    constexpr int kThreads = 6, kEach = 10;
    std::vector<int> good(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                std::string path = "/t" + std::to_string(t) + "/" + std::to_string(i);
                HttpResponse r = HttpGet(server.Url(path));
                if (r.error.empty() && r.status == 200 && r.body == "Antwort auf " + path) ++good[t];
            }
        });
    }
    for (auto& t : threads) t.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(good[t], kEach) << "thread " << t;
    // Connections are reused between requests: far fewer than one per request.
    EXPECT_LE(server.Connections(), 16);
}

}  // namespace
