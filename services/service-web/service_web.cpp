#include "service_web.h"

#include <algorithm>

namespace qx::web {

std::string Request::param(const std::string& key) const {
    const auto it = params.find(key);
    return it == params.end() ? std::string() : it->second;
}

Reply Reply::Html(std::string body) {
    Reply r;
    r.body = std::move(body);
    return r;
}

Reply Reply::Text(std::string body) {
    Reply r;
    r.body = std::move(body);
    r.contentType = "text/plain; charset=utf-8";
    return r;
}

Reply Reply::NotFound() {
    Reply r;
    r.status = 404;
    r.body = "Not Found";
    r.contentType = "text/plain; charset=utf-8";
    return r;
}

void ServiceDatabase::ensureOpen() {
    if (db_.isOpen()) return;
    if (!db_.ConnectDatabase(config_)) {
        throw DatabaseUnavailable("database unavailable: " + db_.lastConnectError());
    }
}

Reply Dispatch(const std::vector<Route>& routes, ServiceDatabase& db, const Request& request) {
    const auto route = std::find_if(routes.begin(), routes.end(),
                                    [&](const Route& r) { return r.path == request.path; });
    if (route == routes.end()) return Reply::NotFound();
    Reply failed;
    failed.contentType = "text/plain; charset=utf-8";
    try {
        return route->handler(db, request);
    } catch (const DatabaseUnavailable& e) {
        failed.status = 503;
        failed.body = e.what();
    } catch (const DatabaseError& e) {
        failed.status = 500;
        failed.body = "database error: " + e.description();
    } catch (const std::exception& e) {
        failed.status = 500;
        failed.body = std::string("error: ") + e.what();
    }
    return failed;
}

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Decode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::map<std::string, std::string> ParseQueryText(const std::string& text) {
    std::map<std::string, std::string> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find('&', start), text.size());
        const std::string pair = text.substr(start, end - start);
        if (!pair.empty()) {
            const auto eq = pair.find('=');
            const std::string key = Decode(pair.substr(0, eq));
            const std::string value = eq == std::string::npos ? "" : Decode(pair.substr(eq + 1));
            out.emplace(key, value);  // the first of repeated keys wins
        }
        start = end + 1;
    }
    return out;
}

}  // namespace qx::web
