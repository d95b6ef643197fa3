// The clearing-house stand-in's period inquiries, called through the real
// library: they answer only an open session and two real days, and the
// receivable list checks its kind only after the period.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cms/transmission/kftc_library.h"

namespace qx {
namespace {

namespace fs = std::filesystem;

TEST(CmscommInquiry, PeriodInquiriesRefuseBadDaysAndAClosedSession) {
    const fs::path root = fs::temp_directory_path() / "qx-cmscomm-inquiry";
    fs::remove_all(root);
    fs::create_directories(root / "center");
    fs::create_directories(root / "work");
    setenv("CMSCOMM_CENTER", (root / "center").c_str(), 1);
    KftcLibrary lib;
    ASSERT_TRUE(lib.load(QUORISDEX_CMSCOMM_LIB)) << lib.loadError();

    using Ask = std::function<CmsAnswer(const std::string&, const std::string&)>;
    const std::vector<std::pair<const char*, Ask>> inquiries = {
        {"send results", [&](auto& f, auto& t) { return lib.SendResults(f, t); }},
        {"cancellable", [&](auto& f, auto& t) { return lib.Cancellable(f, t); }},
        {"reverse", [&](auto& f, auto& t) { return lib.ReverseReceivable(f, t); }},
        {"receivable", [&](auto& f, auto& t) { return lib.Receivable(f, t, 'A'); }},
        {"real-time", [&](auto& f, auto& t) { return lib.AdditionalServiceList("50", f, t); }},
    };
    const auto closedEverywhere = [&] {
        for (const auto& [name, ask] : inquiries) {
            SCOPED_TRACE(name);
            EXPECT_EQ(ask("20270101", "20271231").code, 11);
            EXPECT_EQ(lib.LastError(), "금결원 송수신이 초기화되지 않았습니다.");
        }
    };
    closedEverywhere();

    ASSERT_EQ(lib.Init((root / "work").string(), "9912345678", "pw123456", ""), 0);
    const std::vector<std::pair<std::string, std::string>> badPeriods = {
        {"2027031", "20270311"}, {"20270311", "202703111"}, {"2027-3-1", "20270311"},
        {"", "20270311"},        {"20270311", ""},          {"2027031a", "20270311"}};
    for (const auto& [name, ask] : inquiries) {
        SCOPED_TRACE(name);
        const CmsAnswer empty = ask("20270101", "20271231");
        EXPECT_EQ(empty.code, 0);
        EXPECT_EQ(empty.count, 0);
        for (const auto& [from, to] : badPeriods) {
            EXPECT_EQ(ask(from, to).code, 22) << from << "~" << to;
            EXPECT_EQ(lib.LastError(), "조회기간이 올바르지 않습니다.");
        }
    }
    EXPECT_EQ(lib.Receivable("2027031", "20270311", 'X').code, 22);
    EXPECT_EQ(lib.LastError(), "조회기간이 올바르지 않습니다.");
    EXPECT_EQ(lib.Receivable("20270101", "20271231", 'X').code, 22);
    EXPECT_EQ(lib.LastError(), "수신구분이 올바르지 않습니다.");

    lib.Logout(0);
    closedEverywhere();
    unsetenv("CMSCOMM_CENTER");
    fs::remove_all(root);
}

}  // namespace
}  // namespace qx
