// The real-time panel of the KFTC screen as a person uses it, against the
// real library and a simulated clearing house: opened from the KFTC screen,
// a member found by typing and Enter, chosen by a double click, registered
// and cancelled with a click, an inquiry typed by hand, the refusals shown
// before anything is sent, the kept results and the history filters.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "center.h"
#include "cms/workspace/cms_folders.h"
#include "core/session_context.h"
#include "db/database.h"
#include "ui/cms/kftc_center_test.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/cms/realtime_screen.h"
#include "ui/gui_interaction.h"

namespace qx::ui {
namespace {

namespace fs = std::filesystem;

class RealtimeScreenTest : public test::KftcCenterTest {
  protected:
    void SetUp() override {
        SetUpCenter("realtime");
        if (HasFatalFailure()) return;
        EnsureKftcAddservTable(*db_, inst_.inx);
        transfer = std::make_unique<KftcTransfer>(*db_, session, ui_, lib);
        transfer->pause = [](int) {};
        ASSERT_TRUE(transfer->Start());
    }
    void TearDown() override {
        screen.reset();
        if (transfer) transfer->Close();
        KftcCenterTest::TearDown();
    }
    RealtimeScreen& Open() {
        screen = std::make_unique<RealtimeScreen>(*db_, session, ui_, *transfer);
        screen->show();
        ui_.shown.clear();
        return *screen;
    }
    void Click(const char* name) {
        QTest::mouseClick(Find<QPushButton>(*screen, name), Qt::LeftButton);
    }
    void Type(const char* name, const QString& text) {
        auto* e = Find<QLineEdit>(*screen, name);
        e->clear();
        QTest::keyClicks(e, text);
    }
    void Choose(const char* name, const QString& text) {
        auto* c = Find<QComboBox>(*screen, name);
        const int i = c->findText(text);
        ASSERT_GE(i, 0) << S(text);
        c->setCurrentIndex(i);
    }
    long long Member(const std::string& name, const std::string& account, const std::string& cms) {
        test::MemberRow m;
        m.username = name;
        m.cms_status = cms;
        m.cms_agree_status = "1";
        const long long n = test::InsertMember(*db_, inst_.inx, m);
        db_->ExecuteSql("update " + schema +
                            ".member_user set bank_code='0880000', account_no=?, "
                            "account_jumin='1234567890' where member_inx=?",
                        {account, n});
        return n;
    }
    static QString Payer(long long n) { return QString("%1").arg(n, 10, 10, QChar('0')); }
    std::string Cms(long long n) {
        return db_->scalar("select cms_status from " + schema + ".member_user where member_inx=?",
                           {n});
    }
    long long Rows() { return db_->scalarInt("select count(*) from " + schema + ".kftc_addserv"); }

    std::unique_ptr<KftcTransfer> transfer;
    std::unique_ptr<RealtimeScreen> screen;
};

TEST_F(RealtimeScreenTest, SearchChooseRegisterThenCancelByClicking) {
    const long long n = Member("실시간화면", "71000001", "0");
    std::ofstream(fs::path(MakeExchangeFolder(session, "EVDC")) / (S(Payer(n)) + "_20260301.jpg"))
        << "signed";
    Open();
    const long long before = Rows();
    Choose("cboSearchField", QStringLiteral("계좌번호"));
    Type("txtSearch", "71000001");
    QTest::keyClick(Find<QLineEdit>(*screen, "txtSearch"), Qt::Key_Return);
    auto* members = Find<QTableWidget>(*screen, "grdMembers");
    ASSERT_EQ(members->rowCount(), 1);
    EXPECT_EQ(members->item(0, 6)->text(), Payer(n));
    // Enter in the search field searched; it sent nothing.
    EXPECT_EQ(Rows(), before);

    const QPoint cell = members->visualItemRect(members->item(0, 1)).center();
    ASSERT_TRUE(members->viewport()->rect().contains(cell));
    QTest::mouseClick(members->viewport(), Qt::LeftButton, {}, cell);
    QTest::keyClick(members, Qt::Key_Return);
    EXPECT_EQ(Find<QLineEdit>(*screen, "txtPayer")->text(), Payer(n));
    EXPECT_EQ(Find<QLineEdit>(*screen, "txtBank")->text(), "0880000");
    EXPECT_EQ(Find<QLineEdit>(*screen, "txtHolder")->text(), "1234567890");

    // Without a kind nothing is sent.
    Click("cmdRequest");
    EXPECT_EQ(ui_.texts().back(), kRealtimeRequiredText);
    EXPECT_EQ(Rows(), before);

    Choose("cboKind", QStringLiteral("신규신청(출금이체신청등록)"));
    Click("cmdRequest");
    EXPECT_EQ(screen->lastOutcome().responseCode, "0000") << ::testing::PrintToString(ui_.texts());
    EXPECT_EQ(Cms(n), "3");
    auto* history = Find<QTableWidget>(*screen, "grdHistory");
    ASSERT_GE(history->rowCount(), 1);
    EXPECT_EQ(history->item(0, 1)->text(), Payer(n));
    EXPECT_EQ(history->item(0, 7)->text(), QStringLiteral("출금이체신청"));
    EXPECT_EQ(history->item(0, 10)->text(), QStringLiteral("신규신청완료"));
    // The search list was refreshed with the new state.
    EXPECT_EQ(members->item(0, 7)->text(), QStringLiteral("신규신청완료"));

    // A second registration is refused before sending.
    Click("cmdRequest");
    EXPECT_NE(ui_.texts().back().find("서비스 이용가능한 회원상태 또는 CMS상태가 아닙니다."),
              std::string::npos);
    EXPECT_EQ(Rows(), before + 1);

    Choose("cboKind", QStringLiteral("해지신청(출금이체해지등록)"));
    Click("cmdRequest");
    EXPECT_EQ(screen->lastOutcome().responseCode, "0000");
    EXPECT_EQ(Cms(n), "13");

    // History filters: the cancellation alone.
    Choose("cboHistKind", QStringLiteral("출금해지"));
    Type("txtHistSearch", Payer(n));
    QTest::keyClick(Find<QLineEdit>(*screen, "txtHistSearch"), Qt::Key_Return);
    ASSERT_EQ(history->rowCount(), 1);
    EXPECT_EQ(history->item(0, 9)->text(), QStringLiteral("신규신청완료"));
    EXPECT_EQ(history->item(0, 10)->text(), QStringLiteral("해지완료"));

    // The kept results need a kind; with one they list the day's requests.
    Choose("cboKind", QStringLiteral("선택"));
    Click("cmdResultList");
    EXPECT_EQ(ui_.texts().back(), kRealtimeKindMissingText);
    Choose("cboKind", QStringLiteral("신규신청(출금이체신청등록)"));
    Find<QDateEdit>(*screen, "dtpFrom")->setDate(QDate::currentDate());
    Find<QDateEdit>(*screen, "dtpTo")->setDate(QDate::currentDate());
    Click("cmdResultList");
    auto* results = Find<QTableWidget>(*screen, "grdResults");
    ASSERT_EQ(results->rowCount(), 1);
    EXPECT_EQ(results->item(0, 3)->text(), Payer(n));
    EXPECT_EQ(results->item(0, 6)->text(), QStringLiteral("승인(0000)"));
}

TEST_F(RealtimeScreenTest, InquiryTypedByHandAndAShortHolderIdRefused) {
    center->AddRule("holder 72000001 박실명 750505");
    Open();
    Choose("cboKind", QStringLiteral("계좌실명조회"));
    Type("txtBank", "004");
    Type("txtAccount", "72000001");
    Type("txtHolder", "7505051");
    const long long before = Rows();
    Click("cmdRequest");
    EXPECT_EQ(ui_.texts().back(), kRealtimeHolderDigitsText);
    EXPECT_EQ(Rows(), before);

    Type("txtHolder", "750505");
    Click("cmdRequest");
    EXPECT_EQ(Rows(), before + 1);
    EXPECT_EQ(screen->lastOutcome().registeredName, "박실명");
    ASSERT_GE(ui_.shown.size(), 1u);
    const auto& shown = ui_.shown.back();
    EXPECT_EQ(shown.title, kRealtimeResultTitle);
    EXPECT_NE(shown.text.find("고객실명 : 박실명\r\n응답코드 : 0000"), std::string::npos);
}

TEST_F(RealtimeScreenTest, OpensFromTheKftcScreen) {
    transfer->Close();
    KftcSendScreen kftc(*db_, session, ui_, lib);
    kftc.setPause([](int) {});
    ASSERT_TRUE(kftc.start());
    kftc.show();
    bool opened = false;
    test::OnNextModal([&](QWidget* modal) {
        opened = modal->objectName() == "frmRealtime_kftc";
        QTest::mouseClick(modal->findChild<QPushButton*>("cmdClose"), Qt::LeftButton);
    });
    QTest::mouseClick(Find<QPushButton>(kftc, "cmdRealtime"), Qt::LeftButton);
    EXPECT_TRUE(opened);
    kftc.done(0);
    ASSERT_TRUE(transfer->Start());
}

}  // namespace
}  // namespace qx::ui
