// Widget tests of a screen on an institution of the suite's own: the one
// QApplication, a connection to the test database and a fresh institution
// per suite, and the scripted person who answers the screen.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "support/institution_fixture.h"
#include "support/qt_application.h"
#include "support/scripted_interaction.h"

namespace qx::test {

// Runs `step` on the modal window that opens next (a dialog's exec() blocks
// the test until the step closes it).
inline void OnNextModal(std::function<void(QWidget*)> step) {
    QTimer::singleShot(0, [step] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        step(modal);
    });
}

class ScreenTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        EnsureQtApplication();
        db_ = ConnectTestDatabase().release();
        inst_ = CreateTestInstitution(*db_);
    }
    static void TearDownTestSuite() {
        delete db_;
        db_ = nullptr;
    }

    // A child widget by object name; fails the test when it is missing.
    template <class W>
    static W* Find(const QWidget& screen, const QString& name) {
        auto* w = screen.findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }

    static inline Database* db_ = nullptr;
    static inline TestInstitution inst_;
    ScriptedInteraction ui_;
};

}  // namespace qx::test
