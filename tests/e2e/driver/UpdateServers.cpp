#include "UpdateServers.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdio>
#include <stdexcept>


namespace {

std::string Response(const std::string& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

// Reads the request head; the path does not matter, every request gets the document.
void ReadRequestHead(SOCKET client)
{
    std::string head;
    char chunk[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
        const int received = recv(client, chunk, sizeof chunk, 0);
        if (received <= 0)
            return;
        head.append(chunk, static_cast<size_t>(received));
    }
}

std::string AddressOf(int server)
{
    return "127.0.0." + std::to_string(server) + ":" + std::to_string(kUpdatePort);
}

// A listening socket on 127.0.0.N, or INVALID_SOCKET where loopback is not up (a test
// without network never reaches the update check). Anything else that keeps the
// server from listening there, such as another program holding the port, is raised.
SOCKET Listen(int server)
{
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener == INVALID_SOCKET)
        return INVALID_SOCKET;
    BOOL reuse = TRUE;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(kUpdatePort);
    address.sin_addr.s_addr = htonl(0x7F000000u | static_cast<u_long>(server));
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(listener, 8) == 0)
        return listener;
    const int error = WSAGetLastError();
    closesocket(listener);
    if (error == WSAEADDRNOTAVAIL)
        return INVALID_SOCKET;
    // Wine answers a port that another program holds with WSAEACCES, Windows with WSAEADDRINUSE.
    const bool taken = error == WSAEADDRINUSE || error == WSAEACCES;
    throw std::runtime_error("update servers: cannot listen on " + AddressOf(server) + " (" +
                             (taken ? "another program holds that port" : "socket error " + std::to_string(error)) +
                             "); every start of the program would wait for an update document in vain");
}

}  // namespace

std::string UpdateDocument(const std::string& version, const std::string& msi64, const std::string& www)
{
    return "<?xml version=\"1.0\"?>\r\n<UPDATE><VERSION>" + version + "</VERSION><MSI64>" + msi64 +
           "</MSI64><WWW>" + www + "</WWW></UPDATE>\r\n";
}

std::string CurrentUpdateDocument()
{
    return UpdateDocument("2125", "https://larkspan.example/Larkspan.msi", "https://larkspan.example/download");
}

UpdateServers::UpdateServers()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_bodies.fill(CurrentUpdateDocument());
    StartListening();
}

UpdateServers::~UpdateServers()
{
    StopListening();
    WSACleanup();
}

void UpdateServers::StartListening()
{
    if (!m_listeners.empty())
        return;
    try {
        for (int server = 1; server <= kUpdateServerCount; ++server)
            m_listeners.push_back(static_cast<uintptr_t>(Listen(server)));
    } catch (...) {
        StopListening();
        throw;
    }
    for (int server = 1; server <= kUpdateServerCount; ++server)
        m_threads.emplace_back(&UpdateServers::ServeConnections, this, server);
}

void UpdateServers::StopListening()
{
    for (uintptr_t listener : m_listeners) {
        if (static_cast<SOCKET>(listener) != INVALID_SOCKET)
            closesocket(static_cast<SOCKET>(listener));   // ends the accept loops
    }
    for (std::thread& thread : m_threads)
        thread.join();
    m_listeners.clear();
    m_threads.clear();
}

UpdateServers& UpdateServers::Instance()
{
    static UpdateServers servers;
    return servers;
}

bool StartUpdateServers()
{
    try {
        UpdateServers::Instance();
        return true;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return false;
    }
}

void UpdateServers::ServeConnections(int server)
{
    const auto listener = static_cast<SOCKET>(m_listeners[static_cast<size_t>(server - 1)]);
    while (listener != INVALID_SOCKET) {
        SOCKET client = accept(listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            return;
        ReadRequestHead(client);
        std::string response;
        std::chrono::milliseconds pause{};
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_requests[static_cast<size_t>(server - 1)];
            response = Response(m_bodies[static_cast<size_t>(server - 1)]);
            pause = m_pauseBeforeEachByte;
        }
        if (pause.count() == 0) {
            send(client, response.data(), static_cast<int>(response.size()), 0);
        } else {
            for (char byte : response) {
                std::this_thread::sleep_for(pause);
                if (send(client, &byte, 1, 0) != 1)
                    break;   // the program is gone
            }
        }
        shutdown(client, SD_SEND);
        closesocket(client);
    }
}

void UpdateServers::Serve(int server, const std::string& body)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bodies.at(static_cast<size_t>(server - 1)) = body;
}

void UpdateServers::ServeEverywhere(const std::string& body)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bodies.fill(body);
}

void UpdateServers::SendSlowly(std::chrono::milliseconds pauseBeforeEachByte)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pauseBeforeEachByte = pauseBeforeEachByte;
}

std::array<int, kUpdateServerCount> UpdateServers::Requests() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

int UpdateServers::TotalRequests() const
{
    int total = 0;
    for (int count : Requests())
        total += count;
    return total;
}

void UpdateServers::Reset()
{
    StartListening();
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bodies.fill(CurrentUpdateDocument());
    m_requests.fill(0);
    m_pauseBeforeEachByte = {};
}
