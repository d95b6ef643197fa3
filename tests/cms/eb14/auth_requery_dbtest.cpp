// The authentication re-query of a relay institution: which rows may be
// asked about, the request row and its record, the relay's four answers,
// a holiday, and a relay that never answers.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "cms/eb14/auth_requery.h"
#include "db/database.h"
#include "relay_results.h"
#include "support/institution_fixture.h"
#include "support/scripted_interaction.h"
#include "support/test_database.h"

namespace qx {
namespace {

class AuthRequeryTest : public test::FreshInstitutionTest {
  protected:
    void SetUp() override { OpenInstitution(2); }
    void TearDown() override { test::UnpinServerClock(*db); }
    // A new registration (or a cancellation) in EB13360501 with its
    // authentication result; returns the member.
    long long Row(const std::string& kind, const std::string& certifi, long long serial = 7) {
        test::MemberRow m;
        m.username = "김인증";
        const long long member = test::InsertMember(*db, inst.inx, m);
        db->ExecuteSql("insert into " + schema +
                           ".file_ea13 (seq_num, reg_date, reg_kind, user_no, certifi_result, "
                           "user_phone) values (?,'360501',?,?,?,'01012345678')",
                       {serial, kind, member, certifi});
        return member;
    }
    long long Requests() {
        return db->scalarInt("select count(*) from sdsi.rsch_auth where a_com_inx=?", {inst.inx});
    }
    test::ScriptedInteraction ui;
};

TEST_F(AuthRequeryTest, OnlyNewRegistrationsNotYetAuthenticatedMayBeAskedAbout) {
    struct Case {
        const char* kind;
        const char* certifi;
        bool allowed;
    };
    for (const Case& c :
         {Case{"1", "F", true}, Case{"1", "Z", true}, Case{"1", "I", true}, Case{"1", "Y", false},
          Case{"1", "P", false}, Case{"1", "", false}, Case{"3", "F", false}}) {
        const long long member = Row(c.kind, c.certifi);
        const auto row = FindAuthRequeryRow(*db, session, "EB13360501", member);
        ASSERT_TRUE(row);
        EXPECT_EQ(MayRequeryAuth(*row), c.allowed) << c.kind << c.certifi;
        ui.shown.clear();
        ui.answers = {false};  // declined where asked: nothing is sent either way
        EXPECT_FALSE(StartAuthRequery(*db, session, ui, *row));
        EXPECT_EQ(ui.texts().at(0), c.allowed ? AuthRequeryQuestion("김인증")
                                              : std::string(kAuthRequeryOnlyUnverifiedText))
            << c.kind << c.certifi;
    }
    EXPECT_EQ(Requests(), 0);
    EXPECT_FALSE(FindAuthRequeryRow(*db, session, "EB13360502", 1));
    EXPECT_FALSE(FindAuthRequeryRow(*db, session, "EB1336050", 1));
}

TEST_F(AuthRequeryTest, RequestRowCarriesTheRecordAndTheRelaysAnswerIsShown) {
    struct Case {
        const char* letter;
        const char* text;
    };
    test::PinServerClock(*db, "2036-05-02 10:11:12");  // a Friday
    for (const Case& c :
         {Case{"Y", "인증결과 : [성공] 입니다."}, Case{"I", "인증결과 : [처리중] 입니다."},
          Case{"F", "인증결과 : [실패] 입니다."}, Case{"Z", "인증결과 : [반려] 입니다."}}) {
        const long long member = Row("1", "F", 42);
        relay::ResultRules rules;
        rules.authAnswers[std::to_string(member)] = c.letter;
        std::atomic<bool> done{false};
        std::thread relayAgent([&] {
            auto conn = test::ConnectTestDatabase();
            while (!done) {
                relay::AnswerAuthRequeries(*conn, rules);
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
        ui.shown.clear();
        ui.answers = {true};
        const bool answered = RequeryAuth(*db, session, ui, "EB13360501", member, 10, 20);
        done = true;
        relayAgent.join();
        EXPECT_TRUE(answered) << c.letter;
        ASSERT_EQ(ui.shown.size(), 2u) << ::testing::PrintToString(ui.texts());
        EXPECT_EQ(ui.shown[1].text, c.text);
        EXPECT_EQ(ui.shown[1].title, kAuthResultTitle);
        const auto rs = db->OpenRecordset(
            "select a_org_code, a_user_inx, a_stat, a_sendtime, a_record, a_rtn from "
            "sdsi.rsch_auth where a_user_inx=?",
            {member});
        ASSERT_EQ(rs.size(), 1u);
        EXPECT_EQ(rs[0]["a_org_code"], session.org_code);
        EXPECT_EQ(rs[0]["a_stat"], "2");
        EXPECT_EQ(rs[0]["a_sendtime"], "20360502101112");
        EXPECT_EQ(rs[0]["a_rtn"].substr(0, 1), c.letter);
        // "A", institution 10, file date 6, serial 8, payer 20, phone 15.
        std::string payer = std::to_string(member);
        payer.resize(20, ' ');
        std::string org = session.org_code;
        org.resize(10, ' ');
        EXPECT_EQ(rs[0]["a_record"], "A" + org + "360501" + "00000042" + payer + "01012345678    ");
    }
}

TEST_F(AuthRequeryTest, HolidayRefusesAndANeverAnsweringRelayEndsWithTheFailureText) {
    const long long member = Row("1", "Z");
    test::PinServerClock(*db, "2036-05-03 10:00:00");  // a Saturday
    ui.answers = {true};
    EXPECT_FALSE(RequeryAuth(*db, session, ui, "EB13360501", member, 1, 20));
    EXPECT_EQ(ui.texts().back(), kAuthRequeryHolidayText);
    EXPECT_EQ(ui.shown.back().title, kAuthRequeryHolidayTitle);
    EXPECT_EQ(Requests(), 0);

    test::PinServerClock(*db, "2036-05-05 10:00:00");  // a Monday
    ui.shown.clear();
    ui.answers = {true};
    relay::ResultRules silent;
    silent.authAnswers[std::to_string(member)] = "-";
    EXPECT_EQ(relay::AnswerAuthRequeries(*db, silent), 0);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(RequeryAuth(*db, session, ui, "EB13360501", member, 1, 100));
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(ui.texts().back(), kAuthRequeryFailedText);
    EXPECT_EQ(Requests(), 1);
    // A request the relay cannot read is answered as such, and shown as the failure.
    db->ExecuteSql(
        "update sdsi.rsch_auth set a_record=concat('X',mid(a_record,2)) where "
        "a_com_inx=?",
        {inst.inx});
    EXPECT_GE(relay::AnswerAuthRequeries(*db, {}), 1);
    const long long key =
        db->scalarInt("select auth_inx from sdsi.rsch_auth where a_com_inx=?", {inst.inx});
    EXPECT_EQ(PollAuthRequery(*db, key), AuthAnswer::Unanswerable);
    EXPECT_EQ(AuthAnswerText(AuthAnswer::Unanswerable), kAuthRequeryFailedText);
}

}  // namespace
}  // namespace qx
