// quorisdex-web --app-path DIR [--port N] [--bind ADDRESS] [--log FILE]
// Plays the service's web server for the client. The database settings come
// from DIR's Login.ini (SYSTEM/DBCONNIP, DBCONNUSER, DBCONNPW). --port 0 takes
// a free port. Once listening it prints "PORT=<n>"; every request is logged
// as one line.
#include <httplib.h>

#include <CLI/CLI.hpp>
#include <ctime>
#include <fstream>
#include <iostream>
#include <mutex>

#include "platform/profile_ini.h"
#include "platform/system_drive.h"
#include "service_web.h"

using namespace qx;
using namespace qx::web;

namespace {

std::string Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

Request ToRequest(const httplib::Request& in) {
    Request r;
    r.method = in.method;
    r.path = in.path;
    r.remoteAddr = in.remote_addr;
    for (const auto& [key, value] : in.params) r.params.emplace(key, value);
    // Form fields of a POST (the file-manager page is opened that way).
    if (in.method == "POST" &&
        in.get_header_value("Content-Type").rfind("application/x-www-form-urlencoded", 0) == 0) {
        for (auto& [key, value] : ParseQueryText(in.body)) r.params.emplace(key, value);
    }
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"quorisdex-web: the service web server stand-in"};
    std::string appPath, bind = "127.0.0.1", logPath;
    int port = 8480;
    app.add_option("--app-path", appPath, "folder with Login.ini")->required();
    app.add_option("--port", port, "port to listen on; 0 = any free port");
    app.add_option("--bind", bind, "address to listen on");
    app.add_option("--log", logPath, "file the request lines are appended to (default stdout)");
    CLI11_PARSE(app, argc, argv);

    const ProfileIni ini(JoinPath(ResolveAppPath(appPath), "Login.ini"));
    ServiceDatabase db(DbConfig::FromServerEntry(ini.read("SYSTEM", "DBCONNIP", "127.0.0.1"),
                                                 ini.read("SYSTEM", "DBCONNUSER", ""),
                                                 ini.read("SYSTEM", "DBCONNPW", "")));

    BillMailSettings mail;
    mail.smtpUrl = ini.read("MAIL", "SMTPURL", "");
    mail.from = ini.read("MAIL", "MAILFROM", mail.from);
    ConfigureBillMail(mail);

    std::ofstream logFile;
    if (!logPath.empty()) logFile.open(logPath, std::ios::app);
    std::ostream& log = logFile.is_open() ? static_cast<std::ostream&>(logFile) : std::cout;
    std::mutex logMutex;

    httplib::Server server;
    const auto& routes = ServiceRoutes();
    const auto handle = [&](const httplib::Request& in, httplib::Response& out) {
        const Reply reply = Dispatch(routes, db, ToRequest(in));
        out.status = reply.status;
        out.set_content(reply.body, reply.contentType.c_str());
    };
    // Every path goes through the table, so that unknown ones get 404 there.
    server.Get(".*", handle);
    server.Post(".*", handle);
    server.set_logger([&](const httplib::Request& in, const httplib::Response& out) {
        std::lock_guard<std::mutex> lock(logMutex);
        log << Now() << " " << in.remote_addr << " " << in.method << " " << in.target << " "
            << out.status << std::endl;
    });

    const int bound = port == 0 ? server.bind_to_any_port(bind) : port;
    if (port != 0 && !server.bind_to_port(bind, port)) {
        std::cerr << "quorisdex-web: cannot listen on " << bind << ":" << port << std::endl;
        return 1;
    }
    if (bound <= 0) {
        std::cerr << "quorisdex-web: no free port on " << bind << std::endl;
        return 1;
    }
    std::cout << "PORT=" << bound << std::endl;
    return server.listen_after_bind() ? 0 : 1;
}
