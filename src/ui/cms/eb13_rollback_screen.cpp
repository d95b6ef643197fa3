#include "ui/cms/eb13_rollback_screen.h"

#include "cms/rollback/eb13_rollback.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

FileRollbackSpec Eb13Spec(Database& db, const SessionContext& session, Interaction& ui) {
    FileRollbackSpec spec;
    spec.id = "frmEa13roolback";
    spec.title = QStringLiteral("EB13 파일 롤백");
    spec.captions = {QStringLiteral("생성일자"), QStringLiteral("파일명"),
                     QStringLiteral("신규건수"), QStringLiteral("해지건수"),
                     QStringLiteral("전체건수"), QStringLiteral("파일상태")};
    spec.fileNameColumn = 1;
    spec.list = [&db, &session] {
        std::vector<QStringList> rows;
        for (const auto& c : ListEb13RollbackCandidates(db, session))
            rows.push_back({Q(c.created), Q(c.filename), QString::number(c.newCount),
                            QString::number(c.cancelCount), QString::number(c.totalCount),
                            Q(c.state)});
        return rows;
    };
    spec.rollBack = [&db, &session, &ui](const std::vector<std::string>& files) {
        RollbackEb13Files(db, session, ui, files);
    };
    return spec;
}

}  // namespace

Eb13RollbackScreen::Eb13RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                                       QWidget* parent)
    : FileRollbackScreen(ui, Eb13Spec(db, session, ui), parent) {}

}  // namespace qx::ui
