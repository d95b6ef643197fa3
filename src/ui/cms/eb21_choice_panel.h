// The choices of a withdrawal listing (the amounts, the billing method, the
// withdrawal kind, the passbook text) and its exclusions (criterion, value,
// "제외", "전체선택"), shared by the EB21 file window and the card payment
// request window so that both list and exclude the same way.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "cms/eb21/eb21_targets.h"

class QButtonGroup;
class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qx {
class Interaction;
}

namespace qx::ui {

class Eb21ChoicePanel : public QWidget {
    Q_OBJECT
  public:
    // Without `withChoices` only the exclusion bar shows (a list that is not
    // billed, such as the approved payments to cancel).
    Eb21ChoicePanel(Interaction& ui, bool withChoices, QWidget* parent = nullptr);

    // Offers the entries for the chosen amounts with the institution's
    // defaults (its cms_set or, for cards, its card settings).
    void setSettings(const std::string& cmsSet);
    Eb21Options options() const;
    // Deselects the rows the criterion matches (its message when the value
    // is not usable); false when nothing could be applied.
    bool exclude(std::vector<Eb21Row>& rows, const CivilDate& fileDate);
    // Selects every row, or none when all are already selected.
    static void toggleAll(std::vector<Eb21Row>& rows);

    // The bar the exclusion controls sit in, for the window's own buttons.
    QHBoxLayout* bar() const { return bar_; }
    QPushButton* excludeButton() const { return exclude_; }
    QPushButton* selectAllButton() const { return selectAll_; }

  private:
    Eb21Amounts amounts() const;
    void fillChoices();

    Interaction& ui_;
    std::string cmsSet_;
    QRadioButton* both_ = nullptr;
    QRadioButton* regular_ = nullptr;
    QRadioButton* unpaid_ = nullptr;
    QComboBox* method_ = nullptr;
    QComboBox* kind_ = nullptr;
    QComboBox* passbook_ = nullptr;
    QComboBox* criterion_;
    QLineEdit* value_;
    QPushButton* exclude_;
    QPushButton* selectAll_;
    QHBoxLayout* bar_;
};

}  // namespace qx::ui
