// A tiny HTTP server on 127.0.0.1 for the network tests: it answers each
// path with scripted bytes (a whole response, a response cut short, a slow
// one) and records the requests it saw. Paths without a route get a 404
// page. Every connection is served on a thread of its own and closed after
// one answer.
#pragma once

#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct TScriptedResponse {
    std::string Raw;    // the bytes sent, status line included
    int DelayMs = 0;    // waited before anything is sent
};

// A complete response with Content-Length.
TScriptedResponse HttpResponse(int status, const std::string& body, const std::string& extraHeaders = "");
// A response announcing more bytes than it sends, then closing.
TScriptedResponse CutShortResponse(const std::string& body, size_t announced);
// A chunked response without Content-Length.
TScriptedResponse ChunkedResponse(const std::string& body);

struct TRecordedRequest {
    std::string Target;  // path and query as sent
    std::string Head;    // request line and headers
};

class TLocalHttpServer {
public:
    TLocalHttpServer();
    ~TLocalHttpServer();
    TLocalHttpServer(const TLocalHttpServer&) = delete;
    TLocalHttpServer& operator=(const TLocalHttpServer&) = delete;

    int Port() const { return FPort; }
    std::string Base() const;  // "http://127.0.0.1:<port>/"

    // The path is matched without the query.
    void Route(const std::string& path, TScriptedResponse response);
    std::vector<TRecordedRequest> Requests() const;
    int RequestCount(const std::string& path) const;

private:
    void AcceptLoop();
    void Serve(int socket);

    int FListen = -1;
    int FPort = 0;
    std::atomic<bool> FStop{false};
    mutable std::mutex FMutex;
    std::condition_variable FStopSignal;
    std::map<std::string, TScriptedResponse> FRoutes;
    std::vector<TRecordedRequest> FRequests;
    std::vector<std::thread> FConnections;
    std::thread FAcceptThread;
};

// A port on 127.0.0.1 that nothing listens on (bound, then released).
int UnusedLocalPort();
