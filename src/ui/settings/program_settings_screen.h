// frmDoc15: program settings of the institution and of this desktop.
#pragma once

#include <array>
#include <map>
#include <memory>

#include "members/program_settings.h"
#include "ui/domain_screen.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qx::ui {

class ProgramSettingsScreen : public DomainScreen {
  public:
    ProgramSettingsScreen(Database& db, SessionContext& session, Interaction& ui,
                          QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc15";

  private:
    void load();
    void showCmsSet(const std::string& cmsSet);
    void onSelector(int position, int index);
    void apply();
    void loadSchedule();
    QLineEdit* folderRow(QFormLayout* form, const char* caption, const char* name);

    std::unique_ptr<ProfileIni> ini_;
    ProgramSettings settings_;
    bool loading_ = false;

    std::map<int, QComboBox*> selectors_;
    QCheckBox* itemsUnused_ = nullptr;
    QComboBox* monthDivide_ = nullptr;
    QComboBox* virtualAccount_ = nullptr;
    QCheckBox* instalmentCancel_ = nullptr;
    QCheckBox* ignoreLedger_ = nullptr;
    QCheckBox* excludeLater_ = nullptr;
    QLabel* readOnly_ = nullptr;
    std::array<QCheckBox*, 6> desktop_{};
    QSpinBox* frozenColumns_ = nullptr;
    QLineEdit* fileback_ = nullptr;
    QLineEdit* excel_ = nullptr;
    QLineEdit* tolvex_ = nullptr;
    QComboBox* service_ = nullptr;
    QComboBox* target_ = nullptr;
    std::array<QComboBox*, kAutoDayCount> days_{};
    QLabel* autoNote_ = nullptr;
    QLineEdit* monthMax_ = nullptr;
    QLineEdit* sendname_ = nullptr;
};

}  // namespace qx::ui
