// The e-mailed bills: frmDoc54 (batches and their bills), frmDoc54_1 (the
// members to bill and the issue) and frmFreeView (the bill texts and the
// preview). The work is done by export/bills; these gather and show.
#pragma once

#include <QDialog>
#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class MemberFilterBar;

// Opens an address in the browser; replaceable for tests.
using UrlOpener = std::function<void(const std::string& url)>;

class BillIssueDialog;
class BillTextsDialog;

// frmDoc54
class BillListScreen : public QWidget {
    Q_OBJECT
  public:
    BillListScreen(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                   UrlOpener openUrl, QWidget* parent = nullptr);
    void search();
    void showBatch(int row);
    // The issue window (frmDoc54_1) and the text window (frmFreeView), shown
    // over this screen.
    BillIssueDialog* openIssue();
    BillTextsDialog* openTexts();
    // Mails the chosen batch's bills that were not mailed yet.
    void mailBatch();

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    UrlOpener openUrl_;
    QLineEdit* from_;
    QLineEdit* to_;
    QTableWidget* batches_;
    QTableWidget* bills_;
    QLabel* count_;
};

// frmDoc54_1
class BillIssueDialog : public QDialog {
    Q_OBJECT
  public:
    BillIssueDialog(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                    QWidget* parent = nullptr);
    void search();
    void issue();

  signals:
    void issued();
    void textsWanted();

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    QLineEdit* month_;
    QComboBox* state_;
    MemberFilterBar* filter_;
    QComboBox* nonpayment_;
    QComboBox* pTax_;
    QComboBox* cmsStatus_;
    QComboBox* textColumn_;
    QComboBox* textMode_;
    QLineEdit* text_;
    QTableWidget* grid_;
    QLabel* count_;
};

// frmFreeView
class BillTextsDialog : public QDialog {
    Q_OBJECT
  public:
    BillTextsDialog(Database& db, SessionContext& session, Interaction& ui, std::string webHost,
                    UrlOpener openUrl, QWidget* parent = nullptr);
    void save();
    void preview();

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::string webHost_;
    UrlOpener openUrl_;
    QLineEdit* titles_[4];
    QLineEdit* month_;
};

}  // namespace qx::ui
