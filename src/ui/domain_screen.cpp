#include "ui/domain_screen.h"

#include "platform/interaction.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

DomainScreen::DomainScreen(Database& db, SessionContext& session, Interaction& ui,
                           const char* screenId, const QString& title, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(screenId);
    setWindowTitle(title);
}

void DomainScreen::run(const std::function<void()>& action) {
    Guarded(ui_, action);
}

}  // namespace qx::ui
