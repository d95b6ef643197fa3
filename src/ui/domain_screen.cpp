#include "ui/domain_screen.h"

#include <stdexcept>

#include "platform/interaction.h"
#include "ui/main/business_screen.h"

namespace qx::ui {

DomainScreen::DomainScreen(Database& db, SessionContext& session, Interaction& ui,
                           const char* screenId, const QString& title, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(screenId);
    setWindowTitle(title);
}

void DomainScreen::run(const std::function<void()>& action) {
    RunGuarded(ui_, [&] {
        try {
            action();
        } catch (const std::invalid_argument& e) {
            ui_.inform(e.what(), kDefaultTitle);
        }
    });
}

}  // namespace qx::ui
