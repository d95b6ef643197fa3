#include "ui/login/login_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "db/database.h"
#include "session/login.h"
#include "session/post_login.h"
#include "session/service_web.h"
#include "session/startup.h"
#include "ui/gui_interaction.h"
#include "ui/login/splash_window.h"

namespace qx::ui {

LoginWindow::LoginWindow(Database& db, SessionContext& session, const ProfileIni& ini,
                         GuiInteraction& ui, QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ini_(ini), ui_(ui) {
    setObjectName("frmLogin");
    setWindowTitle(Q(LoginWindowTitle()));
    auto* layout = new QVBoxLayout(this);

    auto* brand = new QLabel(QStringLiteral("Quorisdex CMS"), this);
    QFont f = brand->font();
    f.setPointSize(f.pointSize() + 8);
    f.setBold(true);
    brand->setFont(f);
    layout->addWidget(brand);

    auto* form = new QGridLayout;
    idBox_ = new QLineEdit(this);
    idBox_->setObjectName("txtId");
    passwordBox_ = new QLineEdit(this);
    passwordBox_->setObjectName("txtPassword");
    passwordBox_->setEchoMode(QLineEdit::Password);
    loginButton_ = new QPushButton(QStringLiteral("로그인"), this);
    loginButton_->setObjectName("cmdLogin");
    form->addWidget(new QLabel(QStringLiteral("아이디"), this), 0, 0);
    form->addWidget(idBox_, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("비밀번호"), this), 1, 0);
    form->addWidget(passwordBox_, 1, 1);
    form->addWidget(loginButton_, 0, 2, 2, 1);
    layout->addLayout(form);

    layout->addWidget(new QLabel(QStringLiteral("공지사항"), this));
    noticeList_ = new QTreeWidget(this);
    noticeList_->setObjectName("lstNotice");
    noticeList_->setColumnCount(3);
    noticeList_->setHeaderLabels(
        {QStringLiteral("날짜"), QStringLiteral("제목"), QStringLiteral("번호")});
    noticeList_->setRootIsDecorated(false);
    // The subject takes the room; date and number keep narrow fixed widths
    // (the last column would otherwise stretch as well).
    noticeList_->header()->setStretchLastSection(false);
    noticeList_->header()->setSectionResizeMode(0, QHeaderView::Fixed);
    noticeList_->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    noticeList_->header()->setSectionResizeMode(2, QHeaderView::Fixed);
    noticeList_->setColumnWidth(0, 80);
    noticeList_->setColumnWidth(2, 44);
    layout->addWidget(noticeList_);
    resize(520, 380);

    connect(idBox_, &QLineEdit::returnPressed, this, [this] {
        if (!idBox_->text().isEmpty()) passwordBox_->setFocus();
    });
    connect(passwordBox_, &QLineEdit::returnPressed, this, [this] {
        if (!idBox_->text().isEmpty() && !passwordBox_->text().isEmpty()) login();
    });
    connect(loginButton_, &QPushButton::clicked, this, &LoginWindow::login);
    connect(noticeList_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { onNoticeClicked(item); });
}

void LoginWindow::setNotices(std::vector<Notice> notices) {
    notices_ = std::move(notices);
    noticeList_->clear();
    for (const auto& n : notices_) {
        auto* item = new QTreeWidgetItem(noticeList_, {Q(n.regdate), Q(n.subject), Q(n.number)});
        item->setData(0, Qt::UserRole, Q(n.key));
    }
}

void LoginWindow::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    show();
}

void LoginWindow::setSavedCredentials(const QString& id, const QString& password) {
    idBox_->setText(id);
    passwordBox_->setText(password);
    if (!id.isEmpty()) {
        idBox_->selectAll();
        passwordBox_->setFocus();
    }
}

void LoginWindow::loginWith(const QString& id, const QString& password) {
    idBox_->setText(id);
    passwordBox_->setText(password);
    login();
    QApplication::processEvents();
}

void LoginWindow::onNoticeClicked(QTreeWidgetItem* item) {
    if (!item || item->text(2).trimmed().isEmpty()) return;
    emit noticeChosen(item->text(2).trimmed(), item->text(1));
}

void LoginWindow::login() {
    // A failed statement is reported here, never thrown into the event loop,
    // and a login it interrupted does not count.
    if (!Guarded(ui_, [this] { attemptLogin(); })) succeeded_ = false;
}

void LoginWindow::attemptLogin() {
    const std::string id = S(idBox_->text().trimmed());
    const std::string password = S(passwordBox_->text().trimmed());
    if (const auto problem = CheckLoginInput(id, password);
        problem.field != LoginInputProblem::kNone) {
        ui_.inform(problem.message, kDefaultTitle);
        (problem.field == LoginInputProblem::kId ? idBox_ : passwordBox_)->setFocus();
        return;
    }
    succeeded_ = false;
    try {
        const int code =
            ValidateLogin(db_, session_, id, password, ServiceIpLookup(ReadWebHost(ini_)));
        if (code != kLoginAccepted) {
            session_.LoginId = id;
            ui_.inform(LoginRefusalMessage(code), kDefaultTitle);
            return;
        }
        // ValidateLogin has set the id as the database stores it.
        session_.LoginPassword = password;

        SplashWindow splash;
        const bool ready = InitSessionAfterLogin(db_, session_, ini_, ui_,
                                                 [&splash](bool visible, const std::string& text) {
                                                     splash.setStatus(Q(text));
                                                     splash.setVisible(visible);
                                                     QApplication::processEvents();
                                                 });
        splash.close();
        // The message of a failed start-up has been shown.
        if (!ready) return abandonStartUp();
    } catch (const DatabaseError& e) {
        ui_.inform(e.userMessage(), kDefaultTitle);
        return abandonStartUp();
    }
    // Only a completed start-up counts: then the id and password are kept
    // and the main window opens.
    succeeded_ = true;
    newestNotice_ = NewestNoticeMark(notices_);
    emit loggedIn();
    close();
}

void LoginWindow::abandonStartUp() {
    succeeded_ = false;
    abandoned_ = true;
    // Closing the only window ends the event loop; exit() covers a loop that
    // keeps running for another window.
    close();
    QCoreApplication::exit(1);
}

}  // namespace qx::ui
