#include "platform/http.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "platform/loopback_http.h"
#include "platform/profile_ini.h"

namespace qx {
namespace {

using test::LoopbackHttp;

std::string RequestLine(const std::string& head) {
    return head.substr(0, head.find("\r\n"));
}

TEST(HtmlEscape, QuotesBecomeEntitiesOnlyWhereTheTextMayStandInAnAttribute) {
    // Markup characters are entities either way, an entity included.
    for (const bool quotes : {true, false}) {
        SCOPED_TRACE(quotes);
        EXPECT_EQ(HtmlEscape("", quotes), "");
        EXPECT_EQ(HtmlEscape("plain 가나", quotes), "plain 가나");
        EXPECT_EQ(HtmlEscape("<b>A&B</b>", quotes), "&lt;b&gt;A&amp;B&lt;/b&gt;");
        EXPECT_EQ(HtmlEscape("&amp;", quotes), "&amp;amp;");
    }
    EXPECT_EQ(HtmlEscape("it's \"x\""), "it&#39;s &quot;x&quot;");
    EXPECT_EQ(HtmlEscape("it's \"x\"", false), "it's \"x\"");
}

TEST(HttpGetText, AddsOneRealStampOfTwelveDigitsAndSendsTheAgent) {
    LoopbackHttp server;
    server.answer("/zelmor/cs_load/ipcheck.php", LoopbackHttp::Ok("  10.1.2.3\r\n"));

    EXPECT_EQ(HttpGetText(server.base() + "/zelmor/cs_load/ipcheck.php?ipchk=ravellon"),
              "10.1.2.3");

    ASSERT_EQ(server.requests().size(), 1u);
    const std::string head = server.requests()[0];
    EXPECT_TRUE(std::regex_match(
        RequestLine(head),
        std::regex(R"(GET /zelmor/cs_load/ipcheck\.php\?ipchk=ravellon&real=\d{12} HTTP/1\.1)")))
        << RequestLine(head);
    EXPECT_NE(head.find("User-Agent: Web Setting DbUpdate\r\n"), std::string::npos);
    EXPECT_NE(head.find("Cache-Control: no-cache"), std::string::npos);
}

TEST(HttpGetText, StampIsTheLocalTimeAsYymmddhhmmss) {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 1;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_isdst = -1;
    const std::time_t when = std::mktime(&t);
    EXPECT_EQ(RealStamp(when), "260207090503");
    EXPECT_EQ(WithRealStamp("http://h/a.php?x=1", when), "http://h/a.php?x=1&real=260207090503");
    // Without a query the stamp starts one, or the path itself would change.
    EXPECT_EQ(WithRealStamp("http://h/a.php", when), "http://h/a.php?real=260207090503");
}

TEST(HttpGetText, EmptyOnRefusedConnectionErrorStatusOrCutAnswer) {
    EXPECT_EQ(HttpGetText(""), "");
    EXPECT_EQ(HttpGetText("   "), "");

    const int closed = test::ClosedLoopbackPort();
    const HttpResult refused =
        HttpRequest("http://127.0.0.1:" + std::to_string(closed) + "/x.php?a=1");
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.status, 0);
    EXPECT_EQ(refused.body, "");
    EXPECT_EQ(HttpGetText("http://127.0.0.1:" + std::to_string(closed) + "/x.php?a=1"), "");

    LoopbackHttp server;
    server.answer("/cut.php", LoopbackHttp::CutShort("처리", 100));
    EXPECT_EQ(HttpGetText(server.base() + "/cut.php?a=1"), "");
    const HttpResult missing = HttpRequest(server.base() + "/missing.php?a=1");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.status, 404);
    EXPECT_EQ(HttpGetText(server.base() + "/missing.php?a=1"), "");
}

TEST(HttpGetText, EmptyAnswerIsAnAnswer) {
    // Some scripts answer nothing on success: the caller must be able to tell
    // that apart from no connection.
    LoopbackHttp server;
    server.answer("/empty.php", LoopbackHttp::Ok("\r\n"));
    const HttpResult r = HttpRequest(server.base() + "/empty.php?a=1");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(r.body, "");
}

TEST(UrlEncode, BlankLineFeedAndOtherSigns) {
    EXPECT_EQ(UrlEncode("a b"), "a+b");
    EXPECT_EQ(UrlEncode("\n"), "%0A");
    EXPECT_EQ(UrlEncode("x\ty"), "x%09y");
    EXPECT_EQ(UrlEncode("Az09"), "Az09");
    EXPECT_EQ(UrlEncode("a&b=c'd"), "a%26b%3Dc%27d");
    EXPECT_EQ(UrlEncode("-_.~"), "%2D%5F%2E%7E");
    EXPECT_EQ(UrlEncode(""), "");
}

TEST(UrlEncode, KoreanInTheCodePageOrInUtf8) {
    EXPECT_EQ(UrlEncode("가 나"), "%B0%A1+%B3%AA");
    EXPECT_EQ(UrlEncodeUtf8("가 나"), "%EA%B0%80+%EB%82%98");
    EXPECT_EQ(UrlEncodeUtf8("a b\n"), "a+b%0A");
}

TEST(OpenPostPage, WritesTheSelfSubmittingPageAndOpensIt) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "qx_post_page";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const char* oldTemp = std::getenv("TEMP");
    const std::string saved = oldTemp ? oldTemp : "";
    ::setenv("TEMP", dir.c_str(), 1);

    std::string opened, content;
    const bool ok = OpenPostPage("http://127.0.0.1:8480/kftc/kftcrun205/kftc_file_manager.php",
                                 "cominx", "10002", [&](const std::string& path) {
                                     opened = path;
                                     content = ReadWholeFile(path).value_or("");
                                     return true;
                                 });
    if (oldTemp) {
        ::setenv("TEMP", saved.c_str(), 1);
    } else {
        ::unsetenv("TEMP");
    }
    EXPECT_TRUE(ok);
    EXPECT_EQ(opened, (dir / "temp_quorapi205.html").string());
    EXPECT_EQ(content,
              "<html><head><title>Temporary POST</title></head>"
              "<body onload='document.forms[0].submit();'>"
              "<form action='http://127.0.0.1:8480/kftc/kftcrun205/kftc_file_manager.php' "
              "method='POST'><input type='hidden' name='cominx' value='10002'></form>"
              "</body></html>");
    fs::remove_all(dir);
}

TEST(OpenPostPage, QuotesInValuesCannotLeaveTheAttribute) {
    const std::string page = PostPageHtml("http://h/p.php?a=1&b=2", "f", "x' onfocus='evil()<b>");
    EXPECT_NE(page.find("action='http://h/p.php?a=1&amp;b=2'"), std::string::npos);
    EXPECT_NE(page.find("value='x&#39; onfocus=&#39;evil()&lt;b&gt;'"), std::string::npos);
    EXPECT_EQ(page.find("onfocus='"), std::string::npos);
}

}  // namespace
}  // namespace qx
