#include "ui/cms/eb13_rollback_screen.h"

#include "cms/rollback/eb13_rollback.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

FileRollbackSetup Eb13Setup(Database& db, const SessionContext& session, Interaction& ui) {
    FileRollbackSetup setup;
    setup.id = "frmEa13roolback";
    setup.title = QStringLiteral("EB13 파일 롤백");
    setup.captions = {QStringLiteral("생성일자"), QStringLiteral("파일명"),
                      QStringLiteral("신규건수"), QStringLiteral("해지건수"),
                      QStringLiteral("전체건수"), QStringLiteral("파일상태")};
    setup.fileNameColumn = 1;
    setup.list = [&db, &session] {
        std::vector<QStringList> rows;
        for (const auto& c : ListEb13RollbackCandidates(db, session))
            rows.push_back({Q(c.created), Q(c.filename), QString::number(c.newCount),
                            QString::number(c.cancelCount), QString::number(c.totalCount),
                            Q(c.state)});
        return rows;
    };
    setup.rollBack = [&db, &session, &ui](const std::vector<std::string>& files) {
        RollbackEb13Files(db, session, ui, files);
    };
    return setup;
}

}  // namespace

Eb13RollbackScreen::Eb13RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                                       QWidget* parent)
    : FileRollbackScreen(ui, Eb13Setup(db, session, ui), parent) {}

}  // namespace qx::ui
