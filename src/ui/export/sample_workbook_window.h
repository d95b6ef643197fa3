// frmExpExcel / frmExpExcel2: the helper windows that open the sample
// workbooks of the program folder for a batch of new members or of member
// changes. They show what the sheet asks for and open it; they write
// nothing.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "export/sample_workbooks.h"

namespace qx {
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class SampleWorkbookWindow : public QDialog {
    Q_OBJECT
  public:
    SampleWorkbookWindow(SampleWorkbook which, const SessionContext& session, Interaction& ui,
                         QWidget* parent = nullptr);
    // "frmExpExcel" for the registration workbook, "frmExpExcel2" for the
    // change workbook.
    static const char* WindowId(SampleWorkbook which);
    // The workbook's place in the program folder.
    static std::string WorkbookPath(SampleWorkbook which, const SessionContext& session);
    // Opens the workbook with the desktop (replaceable for tests); false
    // when it could not be started.
    static std::function<bool(const std::string&)>& Opener();

    void openWorkbook();

  private:
    std::string path_;
    Interaction& ui_;
};

// Shows the helper window of `which`, or only the message when the program
// folder lacks the workbook.
void ShowSampleWorkbook(SampleWorkbook which, const SessionContext& session, Interaction& ui,
                        QWidget* parent);

}  // namespace qx::ui
