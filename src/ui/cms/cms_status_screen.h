// frmDoc30: the CMS file status screen. Three grids (EB11/EB12, EB13/EB14,
// EB21/EB22) built by the domain, and the buttons that lead to the screens
// that process each kind.
#pragma once

#include <QWidget>

#include "cms/workspace/cms_status.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace qx {
class Database;
struct SessionContext;
namespace ui {
class GuiInteraction;

class CmsStatusScreen : public QWidget {
    Q_OBJECT
  public:
    CmsStatusScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                    QWidget* parent = nullptr);
    static constexpr const char* kScreenId = "frmDoc30";

  signals:
    // The EB13/EB14 button: whoever opens frmDoc31 connects here, runs its
    // EB14 processing and then calls rebuildEb13(). The button stays disabled
    // until something is connected.
    void openEb13Screen();
    // The EB11/EB12 button, enabled the same way.
    void openEb11Screen();
    // The EB21/EB22 button, the same way for frmDoc32 and rebuildEb21().
    void openEb21Screen();

  public slots:
    void rebuildAll();
    // Head office: the institution's transmission path (the KFTC screen,
    // the companion program or the web file manager).
    void openTransmission();
    void rebuildEb11();
    void rebuildEb13();
    void rebuildEb21();

  protected:
    void connectNotify(const QMetaMethod& signal) override;

  private:
    QTableWidget* addPanel(const char* objectName, QLabel** caption);
    void fill(QTableWidget* grid, QLabel* caption, const StatusPanel& panel);

    Database& db_;
    SessionContext& session_;
    GuiInteraction& ui_;
    QLabel* eb11Caption_ = nullptr;
    QLabel* eb13Caption_ = nullptr;
    QLabel* eb21Caption_ = nullptr;
    QTableWidget* eb11Grid_ = nullptr;
    QTableWidget* eb13Grid_ = nullptr;
    QTableWidget* eb21Grid_ = nullptr;
    QPushButton* eb11Button_ = nullptr;
    QPushButton* eb13Button_ = nullptr;
    QPushButton* eb21Button_ = nullptr;
};

}  // namespace ui
}  // namespace qx
