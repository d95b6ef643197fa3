// What the member-screen tests share: a fresh institution per test, a person
// who records what is shown and answers from a script, and the keyboard and
// mouse moves a user makes on the forms.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>

#include "core/session_context.h"
#include "db/code_lists.h"
#include "db/database.h"
#include "db/server_clock.h"
#include "members/member_record.h"
#include "support/institution_fixture.h"
#include "support/qt_application.h"
#include "support/test_database.h"
#include "ui/gui_interaction.h"
#include "ui/members/member_form.h"

namespace qx::ui::test_members {

namespace fs = std::filesystem;

// Records what would have been shown and answers questions from a script.
class Recording : public GuiInteraction {
  public:
    void inform(const std::string& text, const std::string& title) override {
        shown.push_back(text);
        titles.push_back(title);
    }
    bool confirm(const std::string& text, const std::string& title) override {
        inform(text, title);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    std::vector<std::string> shown, titles;
    std::deque<bool> answers;
};

// Runs `action` inside the program's event loop, as a click would, and
// returns the loop's exit code: 1 when the action ended the program, 0 when
// the loop went on.
inline int RunInEventLoop(const std::function<void()>& action) {
    QTimer go, end;
    go.setSingleShot(true);
    end.setSingleShot(true);
    QObject::connect(&go, &QTimer::timeout, action);
    QObject::connect(&end, &QTimer::timeout, [] { QApplication::exit(0); });
    go.start(0);
    end.start(300);
    const int code = QApplication::exec();
    go.stop();
    end.stop();
    return code;
}

// A CMS member that passes every check, with its bank as stored (bank and
// branch part).
inline MemberInput CmsInput(const std::string& name) {
    MemberInput in = qx::test::ValidCmsMemberInput(name);
    in.set("bank_code", "0040000");
    return in;
}

class MemberScreenTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qx::test::EnsureQtApplication();
        db = qx::test::ConnectTestDatabase();
        inst = qx::test::CreateTestInstitution(*db);
        schema = InstitutionSchema(inst.inx);
        db->setLogSchema(schema);
        session = qx::test::SessionFor(inst);
        session.month_max = 0;
        folder = fs::temp_directory_path() / ("qx-members-ui-" + std::to_string(inst.inx));
        fs::create_directories(folder);
        session.AppPath = folder.string() + "/";
        ReadServerDate(*db, session);
        BuildCodeCaseSql(*db, session);
    }
    void TearDown() override { fs::remove_all(folder); }

    long long Members() { return db->scalarInt("select count(*) from " + schema + ".member_user"); }
    std::string Column(long long m, const std::string& c) {
        return db->scalar("select " + c + " from " + schema + ".member_user where member_inx=?",
                          {m});
    }
    long long LogLines(const std::string& like) {
        return db->scalarInt("select count(*) from " + schema + ".pross_log where prostxt like ?",
                             {like});
    }
    static void Choose(QComboBox* c, const QString& data) {
        ASSERT_TRUE(c);
        const int i = c->findData(data);
        ASSERT_GE(i, 0) << data.toStdString();
        c->setCurrentIndex(i);
    }
    // Picks an entry with the arrow keys, as a user without a mouse does.
    static void ChooseByKeys(QComboBox* c, const QString& data) {
        ASSERT_TRUE(c);
        ASSERT_GE(c->findData(data), 0) << data.toStdString();
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Home);
        for (int i = 0; i < c->count() && c->currentData().toString() != data; ++i)
            QTest::keyClick(c, Qt::Key_Down);
        ASSERT_EQ(c->currentData().toString(), data);
    }
    // Types into a field: letters and digits as keys, Hangul and other text
    // as the input method commits it.
    static void Type(QLineEdit* e, const QString& text) {
        ASSERT_TRUE(e);
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c.unicode() < 0x80) {
                QTest::keyClick(e, c.toLatin1());
                continue;
            }
            // A surrogate pair is one character to the input method.
            const qsizetype n = c.isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            QInputMethodEvent commit;
            commit.setCommitString(text.mid(i, n));
            QApplication::sendEvent(e, &commit);
            i += n - 1;
        }
    }
    // A CMS member of bank 004 as a user types it.
    static void TypeCmsMember(MemberForm* f, const QString& name) {
        Type(f->line("username"), name);
        ChooseByKeys(f->combo("payday"), "10");
        ChooseByKeys(f->combo("inday"), "15");
        ChooseByKeys(f->combo("settle_accounts"), "1");
        ChooseByKeys(f->combo("bank_code"), "004");
        ChooseByKeys(f->combo("certificate_kind"), "4");
        Type(f->line("account_no"), "12345678901");
        Type(f->line("account_jumin"), "800101");
        Type(f->line("account_name"), name);
    }
    static QPushButton* Button(QWidget& w, const QString& caption) {
        for (auto* b : w.findChildren<QPushButton*>())
            if (b->text() == caption) return b;
        ADD_FAILURE() << "no button " << caption.toStdString();
        return nullptr;
    }
    static void Click(QWidget& w, const QString& caption) {
        if (auto* b = Button(w, caption)) QTest::mouseClick(b, Qt::LeftButton);
    }

    std::unique_ptr<Database> db;
    qx::test::TestInstitution inst;
    std::string schema;
    SessionContext session;
    fs::path folder;
};

}  // namespace qx::ui::test_members
