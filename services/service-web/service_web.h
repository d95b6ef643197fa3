// quorisdex-web: the service's web server, played on loopback. Each server
// script or page is one handler in the path table of routes.cpp; a handler
// reads its query keys, works on the database through bound parameters only,
// and answers what the calling client relies on.
#pragma once

#include <functional>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "db/database.h"

namespace qx::web {

struct Request {
    std::string method;                         // "GET" or "POST"
    std::string path;                           // without the query
    std::string remoteAddr;                     // the caller's address
    std::map<std::string, std::string> params;  // query keys and form fields

    // The value of a key, empty when absent.
    std::string param(const std::string& key) const;
};

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "text/html; charset=utf-8";

    static Reply Html(std::string body);
    static Reply Text(std::string body);
    static Reply NotFound();
};

// Raised when the database server cannot be reached; answered with 503.
class DatabaseUnavailable : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The stand-in's one database connection. Requests arrive on several threads
// and take turns on it; it is opened on first use and again after it was
// lost, so the server can start before the database does.
class ServiceDatabase {
  public:
    explicit ServiceDatabase(DbConfig config) : config_(std::move(config)) {}

    template <class Work>
    auto run(Work&& work) -> decltype(work(std::declval<Database&>())) {
        std::lock_guard<std::mutex> lock(mutex_);
        ensureOpen();
        return work(db_);
    }

  private:
    void ensureOpen();

    DbConfig config_;
    Database db_;
    std::mutex mutex_;
};

using Handler = std::function<Reply(ServiceDatabase&, const Request&)>;

struct Route {
    std::string path;
    Handler handler;
};

// Every path the stand-in answers; anything else is 404.
const std::vector<Route>& ServiceRoutes();

// Finds the handler of the request's path and runs it; failures become 5xx
// answers with a short reason, never a crash.
Reply Dispatch(const std::vector<Route>& routes, ServiceDatabase& db, const Request& request);

// Keys and values of "a=1&b=%EA%B0%80+x" ('+' is a blank).
std::map<std::string, std::string> ParseQueryText(const std::string& text);

// The handlers, one file per group of pages.
Reply IpCheck(ServiceDatabase& db, const Request& request);
Reply NoticePage(ServiceDatabase& db, const Request& request);
Reply BoardPage(ServiceDatabase& db, const Request& request);
Reply KftcFileManager(ServiceDatabase& db, const Request& request);
Reply SettleOutstandingScript(ServiceDatabase& db, const Request& request);
Reply BookSaleRunScript(ServiceDatabase& db, const Request& request);
Reply MarkSaleRowsScript(ServiceDatabase& db, const Request& request);
Reply MarkCollectionRowsScript(ServiceDatabase& db, const Request& request);
Reply ApplyEb13ResultsScript(ServiceDatabase& db, const Request& request);
Reply ApplyEb22ResultsScript(ServiceDatabase& db, const Request& request);
Reply BillableItemsScript(ServiceDatabase& db, const Request& request);
Reply CardBillableItemsScript(ServiceDatabase& db, const Request& request);

// The bill mailer and its preview page; the mail server comes from the
// stand-in's Login.ini (section MAIL, keys SMTPURL and MAILFROM).
struct BillMailSettings {
    std::string smtpUrl;  // "smtp://127.0.0.1:8425"; empty: every mail fails
    std::string from = "bill@quorisdex.localhost";
};
void ConfigureBillMail(BillMailSettings settings);
Reply BillMailerPage(ServiceDatabase& db, const Request& request);
Reply BillPreviewPage(ServiceDatabase& db, const Request& request);
Reply FillMonthdivScript(ServiceDatabase& db, const Request& request);

}  // namespace qx::web
