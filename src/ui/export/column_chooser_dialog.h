// frmMSHtoExcel: the columns of a grid to put into the Excel file.
#pragma once

#include <QDialog>
#include <vector>

#include "export/export_table.h"

class QCheckBox;

namespace qx {
class Interaction;
}

namespace qx::ui {

class ColumnChooserDialog : public QDialog {
    Q_OBJECT
  public:
    // `offered` are indexes into `columns`; those in `ticked` start ticked.
    ColumnChooserDialog(const std::vector<ExportColumn>& columns, const std::vector<int>& offered,
                        const std::vector<int>& ticked, Interaction& ui, QWidget* parent = nullptr);
    // The ticked columns in grid order (valid after accept).
    std::vector<int> chosen() const;
    QCheckBox* allBox() const { return all_; }
    QCheckBox* columnBox(int index) const;

  private:
    void confirm();

    Interaction& ui_;
    QCheckBox* all_;
    std::vector<std::pair<int, QCheckBox*>> boxes_;
};

}  // namespace qx::ui
