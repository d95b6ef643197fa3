// Message boxes and progress for the desktop.
#pragma once

#include <QDate>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <string>

#include "db/business_days.h"
#include "platform/interaction.h"

class QProgressDialog;

namespace qx::ui {

class GuiInteraction : public Interaction {
  public:
    explicit GuiInteraction(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void inform(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    void progress(const std::string& text, long long done, long long total) override;
    std::string chooseFolder(const std::string& caption, const std::string& start) override;
    std::string chooseFile(const std::string& caption, const std::string& filter) override;

  private:
    QPointer<QWidget> parent_;
    QPointer<QProgressDialog> progress_;
};

// The screen boundary: runs a user's action so that nothing it throws escapes
// into the event loop. Input the domain refuses (std::invalid_argument) is
// shown and the screen stays as it is; a failed statement (already logged)
// shows its message and ends the program; any other failure is shown with
// its reason. True when the action ran to its end.
bool Guarded(Interaction& ui, const std::function<void()>& action);

// The same for an action with a result; a value-initialised result when it
// did not run to its end.
template <typename F>
auto GuardedValue(Interaction& ui, F&& action) -> decltype(action()) {
    decltype(action()) result{};
    Guarded(ui, [&] { result = action(); });
    return result;
}

// Shown for a failure that is neither a refusal nor a failed statement.
inline constexpr const char* kUnexpectedFailureText = "처리중 오류가 발생하였습니다.";

QString Q(const std::string& s);
std::string S(const QString& s);
QDate ToQDate(const CivilDate& d);
CivilDate FromQDate(const QDate& d);

}  // namespace qx::ui
