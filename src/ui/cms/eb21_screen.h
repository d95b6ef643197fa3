// frmDoc32: the institution's EB21 files with their transmission state and
// result figures, the requests of a file with their results, applying the
// received EB22 files, the way to the EB21 creation and, behind Ctrl+F10,
// the EB21 rollback.
#pragma once

#include "ui/cms/cms_file_screen.h"

namespace qx::ui {

class Eb21Screen : public CmsFileScreen {
    Q_OBJECT
  public:
    Eb21Screen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent = nullptr);

    void refresh() override;
    // Opens frmDoc32_1 when some member is due for a withdrawal; false when
    // it did not open.
    bool openCreation();
    // Applies every EB22 of the exchange folder, then lists again.
    void applyEb22();
    // Ctrl+F10: the maintenance password, then the EB21 rollback screen.
    void openRollback() override;
    // frmLMS2 on the members of the chosen file.
    void openSms();
    // The detail grid: the selected file's requests, or the search's rows.
    void showDetail() override;

  protected:
    void addActions(QHBoxLayout* actions) override;
};

// frmDoc32 in a window of its own over `parent`, until the user closes it.
void ShowEb21Window(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);

}  // namespace qx::ui
