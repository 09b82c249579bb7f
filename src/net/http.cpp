#include "net/http.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <mutex>
#include <string_view>

namespace {

constexpr const char* kUserAgent = "Stridely/1.0 (Linux; personal sports tracker)";
constexpr long kConnectTimeoutMs = 8000;
constexpr long kMaxRedirects = 10;
// Longest host, path and query ("?" included) a request may carry.
constexpr std::size_t kMaxHost = 255;
constexpr std::size_t kMaxPath = 4095;
constexpr std::size_t kMaxQuery = 4095;
// Idle handles kept for reuse: the six tile loaders plus a few background jobs.
constexpr std::size_t kMaxIdleHandles = 10;

std::atomic<int> gStallSeconds{30};

// Process-wide client state. DNS answers and TLS sessions live in one share object.
// Connections are not put in the share: libcurl does not support a shared connection
// cache used by several threads at once. Instead each easy handle keeps its own
// connections and goes back to a pool after its request, so the next request to the
// same host (from any thread) finds a warm connection.
struct Session {
    CURLSH* share = nullptr;
    std::mutex shareLocks[CURL_LOCK_DATA_LAST];
    std::mutex poolMutex;
    std::vector<CURL*> idle;
};

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void* user) {
    if (data >= 0 && data < CURL_LOCK_DATA_LAST) static_cast<Session*>(user)->shareLocks[data].lock();
}

void UnlockShare(CURL*, curl_lock_data data, void* user) {
    if (data >= 0 && data < CURL_LOCK_DATA_LAST) static_cast<Session*>(user)->shareLocks[data].unlock();
}

// Created once on first use and never destroyed: detached workers may still be
// inside a request while the process ends. A failed creation is not retried.
Session* GetSession() {
    static Session* const session = []() -> Session* {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
        auto* s = new Session;
        s->share = curl_share_init();
        bool ok = s->share != nullptr;
        ok = ok && curl_share_setopt(s->share, CURLSHOPT_USERDATA, s) == CURLSHE_OK;
        ok = ok && curl_share_setopt(s->share, CURLSHOPT_LOCKFUNC, LockShare) == CURLSHE_OK;
        ok = ok && curl_share_setopt(s->share, CURLSHOPT_UNLOCKFUNC, UnlockShare) == CURLSHE_OK;
        ok = ok && curl_share_setopt(s->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS) == CURLSHE_OK;
        ok = ok && curl_share_setopt(s->share, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION) == CURLSHE_OK;
        if (!ok) {
            if (s->share) curl_share_cleanup(s->share);
            delete s;
            return nullptr;
        }
        return s;
    }();
    return session;
}

CURL* TakeHandle(Session& s) {
    {
        std::lock_guard<std::mutex> lock(s.poolMutex);
        if (!s.idle.empty()) {
            CURL* h = s.idle.back();  // the most recently used one has the warmest connections
            s.idle.pop_back();
            return h;
        }
    }
    return curl_easy_init();
}

void ReturnHandle(Session& s, CURL* h) {
    curl_easy_reset(h);  // drops every option but keeps the live connections
    {
        std::lock_guard<std::mutex> lock(s.poolMutex);
        if (s.idle.size() < kMaxIdleHandles) {
            s.idle.push_back(h);
            return;
        }
    }
    curl_easy_cleanup(h);
}

std::string WithCode(const char* format, unsigned long code) {
    char text[64];
    std::snprintf(text, sizeof text, format, code);
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

// A header line must not smuggle a line break into the request.
bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos || text.find('\0') != std::string_view::npos;
}

// Only absolute http and https URLs whose parts fit the limits are sent; anything
// else fails before a connection is made.
bool UrlAcceptable(const std::string& url) {
    CURLU* u = curl_url();
    if (!u) return false;
    bool ok = curl_url_set(u, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK;
    auto part = [&](CURLUPart which, std::string& out) {
        char* value = nullptr;
        CURLUcode rc = curl_url_get(u, which, &value, 0);
        if (rc == CURLUE_OK && value) out = value;
        curl_free(value);
        return rc;
    };
    std::string scheme, host, path, query;
    if (ok) ok = part(CURLUPART_SCHEME, scheme) == CURLUE_OK && (scheme == "http" || scheme == "https");
    if (ok) ok = part(CURLUPART_HOST, host) == CURLUE_OK && !host.empty() && host.size() <= kMaxHost;
    if (ok) ok = part(CURLUPART_PATH, path) == CURLUE_OK && path.size() <= kMaxPath;
    if (ok) {
        CURLUcode rc = part(CURLUPART_QUERY, query);
        ok = (rc == CURLUE_OK && query.size() + 1 <= kMaxQuery) || rc == CURLUE_NO_QUERY;
    }
    curl_url_cleanup(u);
    return ok;
}

struct Transfer {
    std::string* body = nullptr;
    bool overflow = false;
    long lastStatus = 0;
    bool sawLocation = false;
    bool finalHeaders = false;  // the headers of the response that carries the body are complete
};

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t length = size * count;
    const size_t room = kHttpMaxBody - std::min(kHttpMaxBody, t->body->size());
    if (length > room) {
        t->body->append(data, room);
        t->overflow = true;
        return 0;  // makes libcurl abort with a write error
    }
    t->body->append(data, length);
    return length;
}

bool IsFollowedRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Tracks whether the final response's headers are complete: a failure after that
// point is a read error that keeps the status, one before it a network error.
size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t length = size * count;
    std::string_view line(data, length);
    if (StartsWithNoCase(line, "HTTP/")) {
        t->lastStatus = 0;
        t->sawLocation = false;
        t->finalHeaders = false;
        std::size_t space = line.find(' ');
        if (space != std::string_view::npos && line.size() >= space + 4) {
            long code = 0;
            bool digits = true;
            for (std::size_t i = space + 1; i < space + 4; ++i) {
                if (line[i] < '0' || line[i] > '9') digits = false;
                else code = code * 10 + (line[i] - '0');
            }
            if (digits) t->lastStatus = code;
        }
    } else if (line == "\r\n" || line == "\n") {
        const bool interim = t->lastStatus < 200;
        const bool redirect = IsFollowedRedirect(t->lastStatus) && t->sawLocation;
        if (!interim && !redirect) t->finalHeaders = true;
    } else if (StartsWithNoCase(line, "location:")) {
        t->sawLocation = true;
    }
    return length;
}

struct HeaderList {
    curl_slist* list = nullptr;
    bool ok = true;
    void Add(const std::string& line) {
        if (!ok) return;
        curl_slist* next = curl_slist_append(list, line.c_str());
        if (!next) ok = false;
        else list = next;
    }
    ~HeaderList() { curl_slist_free_all(list); }
};

}  // namespace

void HttpSetStallSeconds(int seconds) { gStallSeconds.store(std::max(1, seconds)); }

int HttpStallSeconds() { return gStallSeconds.load(); }

HttpResponse HttpRequest(const std::string& method, const std::string& url, const std::string& body,
                         const std::string& contentType, const std::vector<std::string>& headers) {
    HttpResponse result;
    Session* session = GetSession();
    if (!session) {
        result.error = "HTTP-Client nicht verfügbar";
        return result;
    }
    if (!UrlAcceptable(url)) {
        result.error = "Ungültige URL";
        return result;
    }
    bool requestOk = !method.empty() && method.find_first_of(" \t\r\n") == std::string::npos &&
                     !HasLineBreak(contentType);
    for (const std::string& line : headers) requestOk = requestOk && !HasLineBreak(line);
    if (!requestOk) {
        result.error = "Anfrage fehlgeschlagen";
        return result;
    }

    CURL* h = TakeHandle(*session);
    if (!h) {
        result.error = "Verbindung fehlgeschlagen";
        return result;
    }

    HeaderList list;
    list.Add("Accept-Encoding: identity");
    const bool sendsBody = method == "POST" || !body.empty();
    if (!contentType.empty()) list.Add("Content-Type: " + contentType);
    else if (sendsBody) list.Add("Content-Type:");  // libcurl would otherwise invent one
    for (const std::string& line : headers) list.Add(line);
    if (sendsBody) list.Add("Expect:");  // no 100-continue round trip

    Transfer transfer;
    transfer.body = &result.body;
    const long stall = gStallSeconds.load();

    bool ok = list.ok;
    auto set = [&](CURLoption option, auto value) {
        if (ok) ok = curl_easy_setopt(h, option, value) == CURLE_OK;
    };
    set(CURLOPT_NOSIGNAL, 1L);
    set(CURLOPT_SHARE, session->share);
    set(CURLOPT_URL, url.c_str());
#if LIBCURL_VERSION_NUM >= 0x075500
    set(CURLOPT_PROTOCOLS_STR, "http,https");
    set(CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
#else
    set(CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
    set(CURLOPT_REDIR_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS));
#endif
    set(CURLOPT_FOLLOWLOCATION, 1L);
    set(CURLOPT_MAXREDIRS, kMaxRedirects);
    set(CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    set(CURLOPT_LOW_SPEED_LIMIT, 1L);
    set(CURLOPT_LOW_SPEED_TIME, stall);
    set(CURLOPT_SSL_VERIFYPEER, 1L);
    set(CURLOPT_SSL_VERIFYHOST, 2L);
    set(CURLOPT_SSLVERSION, static_cast<long>(CURL_SSLVERSION_TLSv1_2));
    set(CURLOPT_USERAGENT, kUserAgent);
    set(CURLOPT_HTTPHEADER, list.list);
    set(CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    set(CURLOPT_WRITEFUNCTION, OnBody);
    set(CURLOPT_WRITEDATA, &transfer);
    set(CURLOPT_HEADERFUNCTION, OnHeader);
    set(CURLOPT_HEADERDATA, &transfer);
    if (method == "GET" && body.empty()) {
        set(CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD" && body.empty()) {
        set(CURLOPT_NOBODY, 1L);
    } else {
        if (method != "POST") set(CURLOPT_CUSTOMREQUEST, method.c_str());
        set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        set(CURLOPT_POSTFIELDS, body.data());
    }
    if (ok) {
        // HTTP/2 where the server offers it over TLS; an older libcurl without it is fine.
        curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_2TLS));
    }
    if (!ok) {
        ReturnHandle(*session, h);
        result.error = "Anfrage fehlgeschlagen";
        return result;
    }

    const CURLcode rc = curl_easy_perform(h);
    if (rc == CURLE_OK) {
        long status = 0;
        curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
        result.status = static_cast<int>(status);
    } else if (transfer.finalHeaders || transfer.overflow) {
        result.status = static_cast<int>(transfer.lastStatus);
        result.error = WithCode("Lesefehler (%lu)", static_cast<unsigned long>(rc));
    } else if (rc == CURLE_URL_MALFORMAT) {
        result.body.clear();
        result.error = "Ungültige URL";
    } else {
        result.body.clear();
        result.error = WithCode("Netzwerkfehler (%lu)", static_cast<unsigned long>(rc));
    }
    ReturnHandle(*session, h);
    return result;
}

HttpResponse HttpGet(const std::string& url) { return HttpRequest("GET", url, {}, {}, {}); }
