// The main window: a frame holding one business screen at a time.
#pragma once

#include <QMainWindow>

class QMdiArea;

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class GuiInteraction;

class MainFrame : public QMainWindow {
    Q_OBJECT
  public:
    MainFrame(Database& db, SessionContext& session, GuiInteraction& ui, QWidget* parent = nullptr);

  private:
    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    QMdiArea* area_;
};

}  // namespace qx::ui
