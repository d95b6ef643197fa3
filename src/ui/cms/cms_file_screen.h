// What the EB13 and EB21 file screens share: the period of creation with the
// list button, the search across the files, the row with the waiting figures
// and the screen's own buttons, the files, and the chosen file's detail under
// its title and filter. Ctrl+F10 leads to the screen's rollback.
#pragma once

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTableWidget>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "cms/workspace/cms_status.h"
#include "core/session_context.h"
#include "db/business_days.h"
#include "db/database.h"
#include "platform/interaction.h"

namespace qx::ui {

struct CmsFileScreenLayout {
    std::vector<StatusColumn> fileColumns;
    QString filesTitle, detailsTitle;  // of their Excel exports
    QStringList filters;               // in the order of the screen's detail filter
};

class CmsFileScreen : public QWidget {
    Q_OBJECT
  public:
    virtual void refresh() = 0;
    // The detail grid: the selected file's rows, or the search's rows.
    virtual void showDetail() = 0;
    // Ctrl+F10: the maintenance password, then the screen's rollback.
    virtual void openRollback() = 0;

  protected:
    CmsFileScreen(Database& db, SessionContext& session, Interaction& ui, QWidget* parent);
    // Builds the screen and opens its period on the server's date; the
    // derived screen calls it in its constructor's body (so that its own
    // addActions is the one called), and refresh() last.
    void build(const CmsFileScreenLayout& layout);
    // Adds the screen's own buttons after the waiting figures, in their
    // order, and connects them.
    virtual void addActions(QHBoxLayout* actions) = 0;

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;

    CivilDate from() const;
    CivilDate to() const;
    // The search text while the search is set; empty while it is not.
    std::string searchText() const;
    bool searchSet() const { return searchSet_; }

    QLabel* waiting_ = nullptr;
    QTableWidget* files_ = nullptr;
    QLabel* detailTitle_ = nullptr;
    QComboBox* filter_ = nullptr;
    QTableWidget* details_ = nullptr;

  private:
    void toggleSearch();

    QDateEdit* from_ = nullptr;
    QDateEdit* to_ = nullptr;
    QLineEdit* search_ = nullptr;
    QPushButton* searchToggle_ = nullptr;
    bool searchSet_ = false;
};

// The screen `makeScreen` builds in a window of its own, `id` with its title,
// over `parent`, until the user closes it.
void ShowScreenWindow(const char* id, QWidget* parent,
                      const std::function<QWidget*(QWidget* window)>& makeScreen);

}  // namespace qx::ui
