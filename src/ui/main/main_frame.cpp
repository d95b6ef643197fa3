#include "ui/main/main_frame.h"

#include <QMdiArea>

#include "session/session_context.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

MainFrame::MainFrame(Database& db, SessionContext& session, GuiInteraction& ui, QWidget* parent)
    : QMainWindow(parent), db_(db), session_(session), ui_(ui) {
    setObjectName("frmMain");
    setWindowTitle(Q(session_.caption()));
    area_ = new QMdiArea(this);
    area_->setBackground(QColor(0x5a, 0x6e, 0x8c));
    setCentralWidget(area_);
    resize(1280, 800);
}

}  // namespace qx::ui
