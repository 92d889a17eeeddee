#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace halyx::testing {

// A TCP port of 127.0.0.1 that nothing listens on right now.
inline int FreeTcpPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

inline bool AcceptsConnections(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return ok;
}

// The ser2net program, or empty when it is not installed.
inline std::string Ser2netProgram() {
    for (const char* dir : {"/usr/sbin", "/usr/bin", "/usr/local/sbin", "/usr/local/bin"}) {
        const std::filesystem::path path = std::filesystem::path(dir) / "ser2net";
        if (access(path.c_str(), X_OK) == 0) {
            return path.string();
        }
    }
    return {};
}

// ser2net in the foreground for the length of a test, sharing pseudo-terminals on 127.0.0.1 as
// a bench machine shares its cables: each line either as Telnet with the COM-PORT option or raw.
class Ser2netProcess {
public:
    struct Line {
        std::string device;
        bool comPort = true;  // false: raw TCP
        int port = 0;         // given by the constructor
    };

    Ser2netProcess(std::vector<Line> lines, const std::filesystem::path& folder)
        : lines_(std::move(lines)) {
        const std::string program = Ser2netProgram();
        if (program.empty()) {
            return;
        }
        const std::filesystem::path config = folder / "ser2net.yaml";
        {
            std::ofstream out(config);
            int n = 0;
            for (Line& line : lines_) {
                line.port = FreeTcpPort();
                out << "connection: &line" << ++n << "\n"
                    << "  accepter: " << (line.comPort ? "telnet(rfc2217),tcp" : "tcp")
                    << ",127.0.0.1," << line.port << "\n"
                    << "  connector: serialdev," << line.device << ",9600n81,local\n";
            }
        }
        const std::string log = (folder / "ser2net.log").string();
        pid_ = fork();
        if (pid_ == 0) {
            const int quiet = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int nothing = open("/dev/null", O_RDONLY);
            dup2(nothing, 0);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execl(program.c_str(), "ser2net", "-n", "-d", "-u", "-c", config.c_str(), nullptr);
            _exit(127);
        }
        // Ready once every accepter takes connections (each probe is dropped at once).
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (const Line& line : lines_) {
            while (!AcceptsConnections(line.port) && std::chrono::steady_clock::now() < limit) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
    }
    ~Ser2netProcess() { Kill(); }
    Ser2netProcess(const Ser2netProcess&) = delete;
    Ser2netProcess& operator=(const Ser2netProcess&) = delete;

    bool running() const { return pid_ > 0; }
    // The address a client names for line `index`.
    std::string Address(std::size_t index) const {
        const Line& line = lines_.at(index);
        return std::string(line.comPort ? "rfc2217" : "tcp") +
               "://127.0.0.1:" + std::to_string(line.port);
    }
    // Ends it at once, as a crash or a pulled network cable would.
    void Kill() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    std::vector<Line> lines_;
    pid_t pid_ = -1;
};

}  // namespace halyx::testing
