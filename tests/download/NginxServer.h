#pragma once
// A real web server for the download tests: nginx on 127.0.0.1, on a free
// port, with its own configuration in a temporary folder, serving the files
// of its www/ folder; over HTTPS when asked, with a certificate for
// 127.0.0.1 made for it (by openssl) that no authority has signed. The test starts it and stops it (by the process id
// it started, never by name); nothing reaches beyond the loopback interface.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace mirudex::test {

class NginxServer {
public:
    static constexpr const char* kProgram = "/usr/sbin/nginx";

    static bool Available() { return ::access(kProgram, X_OK) == 0; }

    // rateLimit: bytes a second per transfer (0: as fast as it goes).
    explicit NginxServer(long rateLimit = 0, bool tls = false) : tls_(tls)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirudex-nginx-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return;
        dir_ = pattern;
        std::filesystem::create_directories(dir_ / "www");
        std::filesystem::create_directories(dir_ / "logs");
        if (tls_ && !MakeCertificate())
            return;
        for (int attempt = 0; attempt < 5 && pid_ <= 0; ++attempt) {
            port_ = FreePort();
            WriteConfig(rateLimit);
            Start();
        }
    }
    ~NginxServer()
    {
        Stop();
        std::error_code ignored;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ignored);
    }
    NginxServer(const NginxServer&) = delete;
    NginxServer& operator=(const NginxServer&) = delete;

    bool running() const { return pid_ > 0; }
    std::uint16_t port() const { return port_; }
    std::string Url(const std::string& path) const
    {
        return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + "/" + path;
    }
    // The server's own certificate (PEM), to be trusted as an authority of its own.
    std::string CertificateFile() const { return (dir_ / "cert.pem").string(); }
    // A file the server offers at /name (name may have folders).
    void Put(const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories((dir_ / "www" / name).parent_path());
        std::ofstream(dir_ / "www" / name, std::ios::binary) << bytes;
    }
    // Ends the server at once (SIGKILL), as a connection that breaks off.
    void Kill() { End(SIGKILL); }
    void Stop() { End(SIGTERM); }
    std::string ErrorLog() const
    {
        std::ifstream in(dir_ / "logs" / "error.log");
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    bool MakeCertificate() const
    {
        const std::string d = dir_.string();
        const std::string command =
            "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj /CN=127.0.0.1 "
            "-addext subjectAltName=IP:127.0.0.1 -keyout '" +
            d + "/key.pem' -out '" + d + "/cert.pem' >'" + d + "/logs/openssl.log' 2>&1";
        return std::system(command.c_str()) == 0;
    }

    static std::uint16_t FreePort()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof(address);
        std::uint16_t port = 0;
        if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
            ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
        ::close(s);
        return port;
    }

    void WriteConfig(long rateLimit) const
    {
        const std::string d = dir_.string();
        std::ofstream(dir_ / "nginx.conf")
            << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
            << "pid " << d << "/nginx.pid;\nerror_log " << d << "/logs/error.log;\n"
            << "events { worker_connections 16; }\n"
            << "http {\n  access_log off;\n  default_type application/octet-stream;\n"
            << "  client_body_temp_path " << d << "/tmp-body;\n  proxy_temp_path " << d << "/tmp-proxy;\n"
            << "  fastcgi_temp_path " << d << "/tmp-fcgi;\n  uwsgi_temp_path " << d << "/tmp-uwsgi;\n"
            << "  scgi_temp_path " << d << "/tmp-scgi;\n"
            << "  server {\n    listen 127.0.0.1:" << port_ << (tls_ ? " ssl" : "") << ";\n    root " << d << "/www;\n"
            << (tls_ ? "    ssl_certificate " + d + "/cert.pem;\n    ssl_certificate_key " + d + "/key.pem;\n"
                     : std::string())
            << (rateLimit > 0 ? "    limit_rate " + std::to_string(rateLimit) + ";\n" : std::string()) << "  }\n}\n";
    }

    void Start()
    {
        const std::string d = dir_.string();
        const pid_t pid = ::fork();
        if (pid == 0) {
            const std::string conf = d + "/nginx.conf", log = d + "/logs/error.log", prefix = d + "/";
            ::execl(kProgram, kProgram, "-p", prefix.c_str(), "-c", conf.c_str(), "-e", log.c_str(),
                    static_cast<char*>(nullptr));
            ::_exit(127);
        }
        if (pid < 0)
            return;
        // Ready once it takes connections; gone if it could not start.
        for (int i = 0; i < 500; ++i) {
            int status = 0;
            if (::waitpid(pid, &status, WNOHANG) == pid)
                return;
            if (Accepts()) {
                pid_ = pid;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }

    bool Accepts() const
    {
        const int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port_);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
        ::close(s);
        return ok;
    }

    void End(int signal)
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, signal);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    bool tls_ = false;
    std::filesystem::path dir_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
};

}  // namespace mirudex::test
