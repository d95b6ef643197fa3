// frmEa21roolback: the EB21 files whose result is not applied, ticked and
// taken back.
#pragma once

#include "ui/cms/file_rollback_screen.h"

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class Eb21RollbackScreen : public FileRollbackScreen {
    Q_OBJECT
  public:
    Eb21RollbackScreen(Database& db, const SessionContext& session, Interaction& ui,
                       QWidget* parent = nullptr);
};

}  // namespace qx::ui
