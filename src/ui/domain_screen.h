// What the screens built on the domain layer share: the database, the
// session, the person who answers (message boxes on the desktop, a script in
// widget tests) and one way of running a user's action.
#pragma once

#include <QWidget>
#include <functional>

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class DomainScreen : public QWidget {
  public:
    DomainScreen(Database& db, SessionContext& session, Interaction& ui, const char* screenId,
                 const QString& title, QWidget* parent);

  protected:
    // Runs an action of the user at the screen boundary (see Guarded).
    void run(const std::function<void()>& action);

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
};

}  // namespace qx::ui
