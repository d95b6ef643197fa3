// frmDoc15: program settings of the institution and of this desktop.
#pragma once

#include <QWidget>
#include <array>
#include <map>
#include <memory>

#include "members/program_settings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace qx {
class Database;
class ProfileIni;
struct SessionContext;
namespace ui {
class GuiInteraction;

class ProgramSettingsScreen : public QWidget {
  public:
    ProgramSettingsScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                          QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc15";

  private:
    void load();
    void showCmsSet(const std::string& cmsSet);
    void onSelector(int position, int index);
    void apply();
    void loadSchedule();

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
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
    std::array<QCheckBox*, 6> desktop_{};
    QSpinBox* frozenColumns_ = nullptr;
    QLineEdit* fileback_ = nullptr;
    QLineEdit* excel_ = nullptr;
    QLineEdit* tolvex_ = nullptr;
    QComboBox* service_ = nullptr;
    QComboBox* target_ = nullptr;
    std::array<QComboBox*, kAutoDayCount> days_{};
    QLineEdit* monthMax_ = nullptr;
    QLineEdit* sendname_ = nullptr;
};

}  // namespace ui
}  // namespace qx
