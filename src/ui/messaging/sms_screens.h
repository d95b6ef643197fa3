// The messaging screens: the send window frmLMS (members handed over by a
// member list) and its file variant frmLMS2 (members of one result file),
// the help window popupSMS and the history report frmDoc46.
#pragma once

#include <QDialog>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "messaging/messaging_db.h"
#include "messaging/sms_file_members.h"
#include "messaging/sms_send.h"
#include "messaging/sms_settings.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace qx {
class Database;
class Interaction;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

class SmsSendDialog : public QDialog {
    Q_OBJECT
  public:
    // frmLMS with the rows a member list handed over.
    SmsSendDialog(Database& db, SessionContext& session, Interaction& ui,
                  std::vector<SmsRecipient> rows, QWidget* parent = nullptr);
    // frmLMS2 for one result file; its rows are listed on 조회.
    SmsSendDialog(Database& db, SessionContext& session, Interaction& ui, SmsFileQuery file,
                  QWidget* parent = nullptr);
    ~SmsSendDialog() override;

    // False when the messaging database could not be reached (the window
    // has said so and must not be shown).
    bool connected() const { return connected_; }
    SmsKind kind() const { return kind_; }
    QPlainTextEdit* messageBox() const { return message_; }
    QTableWidget* grid() const { return grid_; }
    const std::vector<SmsRecipient>& rows() const { return rows_; }

    void applyMessage();
    void send();
    // frmLMS2: lists the file's members again with the chosen options.
    void listFileMembers();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build(bool fileScreen);
    void setKind(SmsKind kind);
    void fillGrid();
    void updateCounter();
    void markChanged(int row);

    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::unique_ptr<MessagingDb> messaging_;
    SmsSettings settings_;
    std::vector<SmsRecipient> rows_;
    SmsFileQuery file_;
    SmsSendProgress progress_;
    SmsKind kind_ = SmsKind::Sms;
    bool connected_ = false;
    bool asking_ = false;

    QRadioButton* sms_ = nullptr;
    QRadioButton* lms_ = nullptr;
    QLineEdit* title_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QPlainTextEdit* message_ = nullptr;
    QLabel* counter_ = nullptr;
    QLabel* sender_ = nullptr;
    QComboBox* template_ = nullptr;
    QComboBox* regKind_ = nullptr;           // frmLMS2, EB13 files
    QComboBox* amount_ = nullptr;            // frmLMS2, EB21 files
    QPushButton* scheduledToken_ = nullptr;  // [@PM], named after the amount column
    QLabel* count_ = nullptr;
    QTableWidget* grid_ = nullptr;
};

// popupSMS: what the placeholders stand for and the limits of each kind.
class SmsHelpDialog : public QDialog {
    Q_OBJECT
  public:
    explicit SmsHelpDialog(QWidget* parent = nullptr);
};

inline constexpr const char* kSmsFileNotChosenText = "SMS를 보낼 파일을 선택하세요.";

// The file named in `column` of the chosen row of a result screen's file
// list ("EB13yymmdd", "CPAYyymmdd", …) as frmLMS2 reads it; nothing, after
// telling the user, when no file is chosen.
std::optional<SmsFileQuery> ChosenSmsFile(const QTableWidget* files, int column, SmsFileKind kind,
                                          Interaction& ui);

// Opens frmLMS over `parent` with the member list's rows.
void OpenMemberSms(Database& db, SessionContext& session, Interaction& ui,
                   std::vector<SmsRecipient> rows, QWidget* parent);
// Opens frmLMS2 over `parent` for one result file; result screens (EB14,
// EB22) call this with their file.
void OpenFileSms(Database& db, SessionContext& session, Interaction& ui, const SmsFileQuery& file,
                 QWidget* parent);

// frmDoc46: what was sent in a period and how it went.
class SmsHistoryScreen : public QWidget {
    Q_OBJECT
  public:
    SmsHistoryScreen(Database& db, SessionContext& session, Interaction& ui,
                     QWidget* parent = nullptr);
    ~SmsHistoryScreen() override;
    void search();
    QTableWidget* grid() const { return grid_; }

  private:
    Database& db_;
    SessionContext& session_;
    Interaction& ui_;
    std::unique_ptr<MessagingDb> messaging_;
    QDateEdit* from_;
    QDateEdit* to_;
    QComboBox* result_;
    QComboBox* kind_;
    QComboBox* field_;
    QLineEdit* text_;
    QLabel* count_;
    QTableWidget* grid_;
};

}  // namespace qx::ui
