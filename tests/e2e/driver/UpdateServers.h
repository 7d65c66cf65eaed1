// The maker's four update servers, played by the driver itself: HTTP on 127.0.0.1 to
// 127.0.0.4 at the port the test build of the program asks, each serving its own
// update document and counting the requests it answered.
#pragma once

#include <array>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

inline constexpr unsigned short kUpdatePort = 47125;
inline constexpr int kUpdateServerCount = 4;

// A document that announces the program's own version: no prompt, no message.
std::string CurrentUpdateDocument();
// A document with the given VERSION text and addresses.
std::string UpdateDocument(const std::string& version, const std::string& msi64, const std::string& www);

class UpdateServers {
public:
    UpdateServers();    // serves CurrentUpdateDocument() on every server
    ~UpdateServers();
    UpdateServers(const UpdateServers&) = delete;
    UpdateServers& operator=(const UpdateServers&) = delete;

    // Server n (1 to 4) answers with this body from now on.
    void Serve(int server, const std::string& body);
    void ServeEverywhere(const std::string& body);
    // Every answer from now on goes out one byte at a time, after this pause before each.
    void SendSlowly(std::chrono::milliseconds pauseBeforeEachByte);
    // Requests each server has answered since the last reset.
    std::array<int, kUpdateServerCount> Requests() const;
    int TotalRequests() const;
    void Reset();   // current document everywhere, at once, counts to zero, listening
    // No server listens until StartListening (a refused connection, as off line).
    void StopListening();
    void StartListening();

    // The servers of this driver process, started on first use. Raises when a server
    // cannot listen on its address (Listen in UpdateServers.cpp).
    static UpdateServers& Instance();

private:
    void ServeConnections(int server);

    mutable std::mutex m_mutex;
    std::array<std::string, kUpdateServerCount> m_bodies;
    std::array<int, kUpdateServerCount> m_requests{};
    std::chrono::milliseconds m_pauseBeforeEachByte{};
    std::vector<uintptr_t> m_listeners;
    std::vector<std::thread> m_threads;
};

// Starts the servers before a program's first start: false, with the reason on the
// standard error, when they cannot listen (then every start would wait in vain).
bool StartUpdateServers();
