// Blocking HTTP(S) requests for the worker threads. Knows nothing about JSON,
// retries or what a status means: callers decide.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct HttpResponse {
    int status = 0;       // 0 when no response (or no readable status line) arrived
    std::string body;     // exactly as received, never decompressed
    std::string error;    // empty when the exchange completed; else a German message
};

// A larger body is cut off here and reported as a read error, so that a broken or
// hostile server cannot exhaust memory.
inline constexpr std::size_t kHttpMaxBody = 64u * 1024u * 1024u;

// method: "GET" or "POST"; url: absolute http(s) URL, already percent-encoded;
// contentType: adds a Content-Type line when non-empty; headers: extra lines
// without line ending, sent in list order. Safe to call from any thread.
HttpResponse HttpRequest(const std::string& method, const std::string& url, const std::string& body,
                         const std::string& contentType, const std::vector<std::string>& headers);

HttpResponse HttpGet(const std::string& url);

// A transfer that moves no byte for this long is aborted (30 s). Tests shorten it.
void HttpSetStallSeconds(int seconds);
int HttpStallSeconds();
