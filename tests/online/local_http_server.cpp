#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

namespace {

// A proxy configured in the environment must not see the tests' requests:
// they go straight to 127.0.0.1.
const bool ProxyBypassed = [] {
    setenv("no_proxy", "127.0.0.1,localhost", 1);
    setenv("NO_PROXY", "127.0.0.1,localhost", 1);
    return true;
}();

int ListenOnLoopback(int& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) {
        close(fd);
        throw std::runtime_error("bind/listen on 127.0.0.1 failed");
    }
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

void SendAll(int socket, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;  // the client gave up: fine for a test server
        sent += static_cast<size_t>(n);
    }
}

const char* ReasonOf(int status) {
    switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

}  // namespace

TScriptedResponse HttpResponse(int status, const std::string& body, const std::string& extraHeaders) {
    return {"HTTP/1.1 " + std::to_string(status) + " " + ReasonOf(status) + "\r\nContent-Length: " +
                std::to_string(body.size()) + "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body,
            0};
}

TScriptedResponse CutShortResponse(const std::string& body, size_t announced) {
    return {"HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(announced) + "\r\nConnection: close\r\n\r\n" + body,
            0};
}

TScriptedResponse ChunkedResponse(const std::string& body) {
    std::string raw = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    const size_t chunk = 64 * 1024;
    char size[32];
    for (size_t at = 0; at < body.size(); at += chunk) {
        const size_t n = std::min(chunk, body.size() - at);
        snprintf(size, sizeof size, "%zx\r\n", n);
        raw += size;
        raw.append(body, at, n);
        raw += "\r\n";
    }
    raw += "0\r\n\r\n";
    return {raw, 0};
}

TLocalHttpServer::TLocalHttpServer() {
    FListen = ListenOnLoopback(FPort);
    FAcceptThread = std::thread([this] { AcceptLoop(); });
}

TLocalHttpServer::~TLocalHttpServer() {
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FStopSignal.notify_all();
    FAcceptThread.join();
    for (std::thread& t : FConnections) t.join();
    close(FListen);
}

std::string TLocalHttpServer::Base() const { return "http://127.0.0.1:" + std::to_string(FPort) + "/"; }

void TLocalHttpServer::Route(const std::string& path, TScriptedResponse response) {
    std::lock_guard lock(FMutex);
    FRoutes[path] = std::move(response);
}

std::vector<TRecordedRequest> TLocalHttpServer::Requests() const {
    std::lock_guard lock(FMutex);
    return FRequests;
}

int TLocalHttpServer::RequestCount(const std::string& path) const {
    std::lock_guard lock(FMutex);
    int count = 0;
    for (const TRecordedRequest& r : FRequests)
        if (r.Target.substr(0, r.Target.find('?')) == path) ++count;
    return count;
}

void TLocalHttpServer::AcceptLoop() {
    while (!FStop) {
        pollfd waiting{FListen, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0) continue;
        const int socket = accept4(FListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0) continue;
        std::lock_guard lock(FMutex);
        FConnections.emplace_back([this, socket] { Serve(socket); });
    }
}

void TLocalHttpServer::Serve(int socket) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        pollfd readable{socket, POLLIN, 0};
        if (poll(&readable, 1, 2000) <= 0) break;
        const ssize_t n = recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
    }
    const size_t space = head.find(' ');
    const size_t space2 = space == std::string::npos ? space : head.find(' ', space + 1);
    TRecordedRequest request;
    request.Head = head.substr(0, head.find("\r\n\r\n"));
    if (space2 != std::string::npos) request.Target = head.substr(space + 1, space2 - space - 1);
    const std::string path = request.Target.substr(0, request.Target.find('?'));
    TScriptedResponse response;
    {
        std::unique_lock lock(FMutex);
        FRequests.push_back(request);
        auto it = FRoutes.find(path);
        response = it != FRoutes.end() ? it->second : HttpResponse(404, "<html><body>not found</body></html>");
        if (response.DelayMs > 0)
            FStopSignal.wait_for(lock, std::chrono::milliseconds(response.DelayMs), [this] { return FStop.load(); });
    }
    if (!FStop) SendAll(socket, response.Raw);
    shutdown(socket, SHUT_WR);
    // Drain until the client closes, so the close is orderly, not a reset.
    pollfd readable{socket, POLLIN, 0};
    while (poll(&readable, 1, 200) > 0 && recv(socket, buffer, sizeof buffer, 0) > 0) {
    }
    close(socket);
}

int UnusedLocalPort() {
    int port = 0;
    const int fd = ListenOnLoopback(port);
    close(fd);
    return port;
}
