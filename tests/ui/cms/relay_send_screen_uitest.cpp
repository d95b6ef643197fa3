// frmFileSend as a relay institution's person uses it: the sendable and the
// refused lists, the maintenance hour read from the server's clock, the
// re-send question and the watch that waits for the relay.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "cms/transmission/relay_send.h"
#include "core/session_context.h"
#include "db/database.h"
#include "support/screen_test.h"
#include "support/test_database.h"
#include "ui/cms/relay_send_screen.h"
#include "ui/gui_interaction.h"

namespace qx::ui {
namespace {

class RelaySendScreenTest : public test::ScreenTest {
  protected:
    void SetUp() override {
        session = test::SessionFor(inst_);
        session.cmsrunprg = 2;
        session.org_code = "HS" + std::to_string(200000 + inst_.inx % 700000);
        session.add_in_code = "pw12    ";
        schema = InstitutionSchema(inst_.inx);
        db_->setLogSchema(schema);
        db_->ExecuteSql("delete from sdsi.filerun where id=?", {session.org_code});
        db_->ExecuteSql("delete from " + schema + ".ea13");
        db_->ExecuteSql("delete from " + schema + ".ea21");
        db_->ExecuteSql("insert into " + schema +
                        ".ea13 (filename, create_cnt, delete_cnt, total_cnt, makedate) values "
                        "('EB13270405', 1, 1, 2, 2)");
        db_->ExecuteSql("insert into " + schema +
                        ".ea21 (filename, total_cnt, total_money, makedate) values "
                        "('EB21270406', 3, 1234500, 1)");
    }
    void TearDown() override {
        screen.reset();
        test::UnpinServerClock(*db_);
        db_->ExecuteSql("delete from sdsi.filerun where id=?", {session.org_code});
        db_->ExecuteSql("delete from aegis.filerun where id=?", {session.org_code});
    }
    RelaySendScreen& Open(RelayChannel channel = RelayChannel::Files) {
        screen = std::make_unique<RelaySendScreen>(*db_, session, ui_, channel);
        screen->setWatchInterval(5);
        EXPECT_TRUE(screen->start());
        screen->show();
        return *screen;
    }
    QTableWidget* Grid(const char* name) { return Find<QTableWidget>(*screen, name); }
    static std::vector<std::string> Row(QTableWidget* grid, int row) {
        std::vector<std::string> out;
        for (int c = 0; c < grid->columnCount(); ++c)
            out.push_back(grid->item(row, c) ? S(grid->item(row, c)->text()) : "");
        return out;
    }
    void Tick(const QString& file) {
        auto* grid = Grid("grdSendable");
        for (int r = 0; r < grid->rowCount(); ++r)
            if (grid->item(r, 0)->text() == file) {
                grid->setFocus();
                grid->setCurrentCell(r, 0);
                QTest::keyClick(grid->viewport(), Qt::Key_Space);
                ASSERT_EQ(grid->item(r, 0)->checkState(), Qt::Checked);
                return;
            }
        FAIL() << file.toStdString();
    }
    void Send() { QTest::mouseClick(Find<QPushButton>(*screen, "cmdSend"), Qt::LeftButton); }
    Recordset Runs() {
        return db_->OpenRecordset(
            "select inx, filename, stat from sdsi.filerun where id=? order "
            "by inx",
            {session.org_code});
    }

    SessionContext session;
    std::string schema;
    std::unique_ptr<RelaySendScreen> screen;
};

TEST_F(RelaySendScreenTest, SendAfterTheMaintenanceHourAndWatchUntilTheRelayTakesIt) {
    Open();
    auto* sendable = Grid("grdSendable");
    ASSERT_EQ(sendable->rowCount(), 2);
    EXPECT_EQ(Row(sendable, 0),
              (std::vector<std::string>{"EB13270405", "전송가능", "2", "1", "1", "0", "27040512"}));
    EXPECT_EQ(Row(sendable, 1), (std::vector<std::string>{"EB21270406", "전송가능", "3", "0", "0",
                                                          "1,234,500", "27040617"}));

    // 18:30 on the server's clock: refused, nothing registered.
    test::PinServerClock(*db_, "2027-04-07 18:30:00");
    Tick("EB13270405");
    // Enter in the list or on the send button never sends.
    for (QWidget* w : {static_cast<QWidget*>(sendable),
                       static_cast<QWidget*>(Find<QPushButton>(*screen, "cmdSend"))}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Return);
        QTest::keyClick(w, Qt::Key_Enter);
    }
    EXPECT_TRUE(ui_.shown.empty()) << ::testing::PrintToString(ui_.texts());
    EXPECT_TRUE(screen->isVisible());
    Send();
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kRelayClosedText});
    EXPECT_TRUE(Runs().empty());
    EXPECT_FALSE(screen->watching());
    EXPECT_FALSE(Find<QLabel>(*screen, "lblProgress")->isVisible());

    // 19:00: sent, and watched while the relay has not looked.
    test::PinServerClock(*db_, "2027-04-07 19:00:00");
    ui_.shown.clear();
    Tick("EB13270405");
    Send();
    auto runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["filename"], "13270405");
    EXPECT_EQ(runs[0]["stat"], "1");
    EXPECT_TRUE(screen->watching());
    EXPECT_TRUE(Find<QLabel>(*screen, "lblProgress")->isVisible());
    EXPECT_EQ(Find<QLabel>(*screen, "lblProgress")->text().toStdString(), kRelayProgressText);
    QTest::qWait(60);
    EXPECT_TRUE(screen->watching());
    EXPECT_TRUE(ui_.shown.empty());

    db_->ExecuteSql("update sdsi.filerun set stat=5 where inx=?", {runs[0]["inx"]});
    for (int i = 0; i < 100 && screen->watching(); ++i) QTest::qWait(10);
    EXPECT_FALSE(screen->watching());
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kRelayDoneText});
    EXPECT_FALSE(Find<QLabel>(*screen, "lblProgress")->isVisible());
    ASSERT_EQ(sendable->rowCount(), 1);  // taken: no longer sendable
    EXPECT_EQ(sendable->item(0, 0)->text(), "EB21270406");
}

TEST_F(RelaySendScreenTest, RefusedRunsAreListedByTheirState) {
    const struct {
        int stat;
        const char* shown;
    } cases[] = {{3, "전송오류"}, {4, "전송불가"}, {9, "전송불가"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stat);
        db_->ExecuteSql("delete from sdsi.filerun where id=?", {session.org_code});
        db_->ExecuteSql(
            "insert into sdsi.filerun (filename, id, stat, err_msg) values ('13270405', ?, ?, "
            "'계좌번호 오류')",
            {session.org_code, c.stat});
        Open();
        auto* failed = Grid("grdFailed");
        ASSERT_EQ(failed->rowCount(), 1);
        EXPECT_EQ(Row(failed, 0), (std::vector<std::string>{"EB13270405", c.shown, "2", "1", "1",
                                                            "0", "27040512", "계좌번호 오류"}));
        EXPECT_EQ(Grid("grdSendable")->rowCount(), 1);
    }
}

// A run left at 0 (its records were being written) offers the file again;
// sending it asks first, and a "no" keeps the old run and says why.
TEST_F(RelaySendScreenTest, ResendAsksAndANoKeepsTheEarlierRun) {
    test::PinServerClock(*db_, "2027-04-07 10:00:00");
    db_->ExecuteSql("insert into sdsi.filerun (filename, id, stat) values ('13270405', ?, 0)",
                    {session.org_code});
    Open();
    Tick("EB13270405");
    ui_.answers = {false};
    Send();
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kRelayResendQuestion, kRelayDeclinedText}));
    auto runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["stat"], "0");
    EXPECT_FALSE(screen->watching());

    ui_.shown.clear();
    ui_.answers = {true};
    Tick("EB13270405");
    Send();
    EXPECT_EQ(ui_.texts(), std::vector<std::string>{kRelayResendQuestion});
    runs = Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0]["stat"], "1");
    EXPECT_TRUE(screen->watching());
}

std::string Pad(std::string t, std::size_t w) {
    t.resize(w, ' ');
    return t;
}

// frmCreditCardSend: the card files become runs of the card relay with their
// records at the byte positions of the card layouts (names and goods cut in
// bytes of the Korean code page), and the watch ends on the relay's answer.
TEST_F(RelaySendScreenTest, CardFilesGoToTheCardRelayByteExact) {
    test::PinServerClock(*db_, "2027-04-05 10:00:00");
    db_->ExecuteSql("delete from " + schema + ".cdmem");
    db_->ExecuteSql("delete from " + schema + ".cdmem_detail");
    db_->ExecuteSql("delete from " + schema + ".cdpay");
    db_->ExecuteSql("delete from " + schema + ".cdpay_detail");
    db_->ExecuteSql("insert into " + schema +
                    ".cdmem (filename, create_cnt, delete_cnt, total_cnt) values "
                    "('CMEM270405', 1, 1, 2)");
    db_->ExecuteSql("insert into " + schema +
                    ".cdmem_detail (seq_num, reg_date, reg_kind, user_no, account_name, card_no, "
                    "valid_yymm, user_phone, user_email, goods_name) values "
                    "(1, '270405', '1', 101, '김하나', '4111222233334444', '2812', '01012345678', "
                    "'kim@example.com', '정기후원 상품명이 아주 길어서잘리는'),"
                    "(2, '270405', '3', 102, '박둘', '', '', '', '', '')");
    db_->ExecuteSql("insert into " + schema +
                    ".cdpay (filename, total_cnt, total_money) values ('CPAY270406', 2, 30000)");
    db_->ExecuteSql("insert into " + schema +
                    ".cdpay_detail (seq_num, reg_date, user_no, account_name, amount, "
                    "purchase_kind, title, cancel_date, approval_no) values "
                    "(1, '270406', 101, '김하나', 15000, '0', '2704', '', ''),"
                    "(2, '270406', 102, '박둘', 15000, '1', '4월분', '20270401', 'AP12345678')");
    Open(RelayChannel::Cards);
    EXPECT_EQ(screen->objectName(), "frmCreditCardSend");
    auto* sendable = Grid("grdSendable");
    ASSERT_EQ(sendable->rowCount(), 2);
    EXPECT_EQ(Row(sendable, 0),
              (std::vector<std::string>{"CMEM270405", "전송가능", "2", "1", "1", "0", "27040512"}));
    EXPECT_EQ(Row(sendable, 1), (std::vector<std::string>{"CPAY270406", "전송가능", "2", "0", "0",
                                                          "30,000", "27040617"}));
    Tick("CMEM270405");
    Tick("CPAY270406");
    Send();
    auto runs = db_->OpenRecordset(
        "select inx, filename, filediv, stat, senddate from aegis.filerun where id=? order by inx",
        {session.org_code});
    ASSERT_EQ(runs.size(), 2u) << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(runs[0]["filename"], "CMEM270405");
    EXPECT_EQ(runs[0]["filediv"], "MEM");
    EXPECT_EQ(runs[0]["stat"], "1");
    EXPECT_EQ(runs[1]["senddate"], "27040617");
    EXPECT_TRUE(
        db_->OpenRecordset("select inx from sdsi.filerun where id=?", {session.org_code}).empty());

    const std::string code = Pad(session.org_code, 10);
    auto details = [&](const std::string& key) {
        return db_->OpenRecordset(
            "select u_seq, u_detail, u_rtn, u_approval_rtn, hex(u_end) e, d_inx from "
            "aegis.filedetail where u_inx=? order by d_inx",
            {key});
    };
    auto m = details(runs[0]["inx"]);
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0]["u_detail"], "S" + code + Pad("pw12", 10) + RelayAccountBlock() +
                                    "MEMA20270405" + std::string(190, ' '));
    EXPECT_EQ(m[1]["u_detail"], "H" + code + Pad("2", 6) + Pad("0", 10) + std::string(216, ' '));
    EXPECT_EQ(m[2]["u_seq"], Pad("1", 10));
    EXPECT_EQ(m[2]["u_detail"],
              "D" + code + "000001N" + Pad("101", 20) + "김하나" + std::string(14, ' ') +
                  std::string(52, ' ') + std::string(6, ' ') + "000000000000" +
                  Pad("01012345678", 16) + Pad("kim@example.com", 30) +
                  // 29 bytes: the next syllable would be cut in two
                  "정기후원 상품명이 아주 길어서" + std::string(1 + 3, ' ') +
                  Pad("4111222233334444", 16) + "2812" + std::string(54, ' ') + "C");
    EXPECT_EQ(m[3]["u_detail"], "D" + code + "000002D" + Pad("102", 20) + "박둘" +
                                    std::string(16, ' ') + std::string(52 + 171, ' ') + "C");
    EXPECT_EQ(m[4]["u_detail"], "T" + code + std::string(232, ' '));
    for (std::size_t i = 0; i < m.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m[i]["u_rtn"], std::string(35, ' '));
        EXPECT_EQ(m[i]["u_approval_rtn"], "");
        std::string end = Pad(m[i]["d_inx"], 10);
        std::string hex;
        for (unsigned char c : end) {
            char b[3];
            std::snprintf(b, sizeof b, "%02X", c);
            hex += b;
        }
        EXPECT_EQ(m[i]["e"], hex + "0D0A");
    }
    auto p = details(runs[1]["inx"]);
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0]["u_detail"].substr(41, 12), "PAYA20270406");
    EXPECT_EQ(p[1]["u_detail"],
              "H" + code + Pad("2", 6) + Pad("30000", 10) + std::string(216, ' '));
    EXPECT_EQ(p[2]["u_detail"], "D" + code + "00000104  N" + Pad("101", 20) + "김하나" +
                                    std::string(14, ' ') + Pad("15000", 10) +
                                    std::string(170, '0') + std::string(34, ' ') + "N" +
                                    std::string(6, ' ') + "C");
    EXPECT_EQ(p[3]["u_detail"], "D" + code + "000002월" + "  C" + Pad("102", 20) + "박둘" +
                                    std::string(16, ' ') + Pad("15000", 10) +
                                    std::string(170, '0') + "20270401" + std::string(16, ' ') +
                                    "AP12345678" + "N" + std::string(6, ' ') + "C");

    EXPECT_TRUE(screen->watching());
    db_->ExecuteSql("update aegis.filerun set stat=5 where inx=?", {runs[0]["inx"]});
    db_->ExecuteSql("update aegis.filerun set stat=4, err_msg='카드번호 오류' where inx=?",
                    {runs[1]["inx"]});
    for (int i = 0; i < 100 && screen->watching(); ++i) QTest::qWait(10);
    EXPECT_FALSE(screen->watching());
    EXPECT_EQ(ui_.texts(), (std::vector<std::string>{kRelayDoneText, kRelayFailedText}));
    auto* failed = Grid("grdFailed");
    ASSERT_EQ(failed->rowCount(), 1);
    EXPECT_EQ(Row(failed, 0)[1], "전송불가");
    EXPECT_EQ(Row(failed, 0)[7], "카드번호 오류");
}

TEST_F(RelaySendScreenTest, WrongInstitutionCodeKeepsTheScreenClosed) {
    for (const std::string code : {"XS123456", "HS12345", "0123456789"}) {
        SCOPED_TRACE(code);
        session.org_code = code;
        ui_.shown.clear();
        RelaySendScreen s(*db_, session, ui_);
        EXPECT_FALSE(s.start());
        EXPECT_EQ(ui_.texts(), std::vector<std::string>{"잘못된 이용기관 코드입니다. "
                                                        "쿼리스CMS(0000-0000)로 문의주시기 "
                                                        "바랍니다."});
    }
}

}  // namespace
}  // namespace qx::ui
