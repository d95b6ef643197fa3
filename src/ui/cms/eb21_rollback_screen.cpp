#include "ui/cms/eb21_rollback_screen.h"

#include "cms/rollback/eb21_rollback.h"
#include "platform/amount_text.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

FileRollbackSetup Eb21Setup(Database& db, const SessionContext& session, Interaction& ui) {
    FileRollbackSetup setup;
    setup.id = "frmEa21roolback";
    setup.title = QStringLiteral("EB21 파일 롤백");
    setup.captions = {QStringLiteral("생성일자"), QStringLiteral("파일명"),
                      QStringLiteral("출금건수"), QStringLiteral("총출금액"),
                      QStringLiteral("파일상태")};
    setup.fileNameColumn = 1;
    setup.list = [&db, &session] {
        std::vector<QStringList> rows;
        for (const auto& c : ListEb21RollbackCandidates(db, session))
            rows.push_back({Q(c.created), Q(c.filename), QString::number(c.totalCount),
                            Q(FormatAmount(c.totalMoney)), Q(c.state)});
        return rows;
    };
    setup.rollBack = [&db, &session, &ui](const std::vector<std::string>& files) {
        RollbackEb21Files(db, session, ui, files);
    };
    return setup;
}

}  // namespace

Eb21RollbackScreen::Eb21RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                                       QWidget* parent)
    : FileRollbackScreen(ui, Eb21Setup(db, session, ui), parent) {}

}  // namespace qx::ui
