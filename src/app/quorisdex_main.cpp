// quorisdex: the desktop client. Starts at the login window.
#include <QApplication>
#include <QFontDatabase>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <memory>

#include "core/session_context.h"
#include "db/database.h"
#include "platform/process_control.h"
#include "platform/profile_ini.h"
#include "platform/saved_text.h"
#include "platform/single_instance.h"
#include "platform/system_drive.h"
#include "platform/user_settings.h"
#include "session/notices.h"
#include "session/service_web.h"
#include "session/startup.h"
#include "session/update_check.h"
#include "ui/board/board_window.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/cms/relay_send_screen.h"
#include "ui/gui_interaction.h"
#include "ui/login/login_window.h"
#include "ui/main/main_frame.h"
#include "ui/main/qt_translations.h"
#include "ui/update/update_window.h"

using namespace qx;
using namespace qx::ui;

namespace {

struct Arguments {
    std::string appPath;
    std::string commandLine;  // what follows the options: the launch code and credentials
};

Arguments ParseArguments(const QStringList& args) {
    Arguments a;
    QStringList rest;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == "--app-path" && i + 1 < args.size()) {
            a.appPath = S(args[++i]);
        } else {
            rest << args[i];
        }
    }
    a.commandLine = S(rest.join(' '));
    return a;
}

void ShowNotice(const std::string& webHost, QWidget* parent, const QString& number,
                const QString& subject) {
    BoardWindow board(parent);
    board.showNotice(subject, webHost, number);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("quorisdex");
    QFont font("NanumGothic");
    font.setPointSize(10);
    QApplication::setFont(font);
    InstallKoreanQtTranslations(app);

    GuiInteraction ui;
    SingleInstance instance("quorisdex");
    if (!instance.acquired()) {
        ui.inform(kAlreadyRunningMessage, kDefaultTitle);
        return 1;
    }

    const Arguments args = ParseArguments(QApplication::arguments());
    SessionContext session;
    session.AppPath = ResolveAppPath(args.appPath);
    EnterProgramFolder(session.AppPath);
    session.SystemDrive = GetSystemDrive();
    ProfileIni ini(session.AppPath + "Login.ini");
    // Getting here means a program swapped in by the last update has started.
    ConfirmStartedProgram(CurrentExecutablePath(), ini);
    ReadDesktopSettings(session, ini);
    const LaunchCredentials launch = ParseLaunchCredentials(args.commandLine);
    session.launched_with_credentials = launch.launched;

    Database db;
    if (!db.ConnectDatabase(DbConfig::FromServerEntry(ini.read("SYSTEM", "DBCONNIP", "127.0.0.1"),
                                                      ini.read("SYSTEM", "DBCONNUSER", ""),
                                                      ini.read("SYSTEM", "DBCONNPW", "")))) {
        ui.inform(kConnectFailedMessage, kDefaultTitle);
        return 1;
    }

    // A new program hands over to the replacement program, which starts it again.
    {
        UpdateWindow updateWindow;
        HandOver handOver;
        handOver.appPath = session.AppPath;
        handOver.executable = CurrentExecutablePath();
        handOver.commandLine = args.commandLine;
        handOver.launchedWithCredentials = launch.launched;
        handOver.pid = QCoreApplication::applicationPid();
        if (RunStartupUpdate(ini, handOver, updateWindow) == StartupUpdate::kHandedOver) {
            db.close();
            return 0;
        }
    }
    const std::string webHost = ReadWebHost(ini);

    UserSettings settings = UserSettings::forCurrentUser();
    std::unique_ptr<MainFrame> frame;
    int result = 0;
    try {
        LoginWindow login(db, session, ini, ui);
        ui.setParent(&login);
        session.LoginId = DecodeSavedText(settings.get(kSavedIdSection, kSavedIdKey, ""));
        login.setNotices(LoadNotices(db));
        login.setSavedCredentials(Q(session.LoginId), QString());
        QObject::connect(&login, &LoginWindow::noticeChosen,
                         [&](const QString& number, const QString& subject) {
                             ShowNotice(webHost, &login, number, subject);
                         });
        // Placed before it shows, so that a message at once (launch code
        // without a password) stands over it rather than in a corner.
        login.showCentred();
        if (launch.launched) {
            QTimer::singleShot(0, &login,
                               [&] { login.loginWith(Q(launch.id), Q(launch.password)); });
        }
        app.exec();
        if (!login.succeeded() || !db.isOpen()) {
            db.close();
            return 1;
        }

        settings.set(kSavedIdSection, kSavedIdKey, EncodeSavedText(session.LoginId));
        settings.set(kSavedIdSection, kSavedPasswordKey, EncodeSavedText(session.LoginPassword));
        frame = std::make_unique<MainFrame>(db, session, ui, settings);
        ui.setParent(frame.get());
        frame->showPlaced();
        frame->startUp();
        // Screenshots and support sessions ask for one screen by name.
        if (const char* screen = std::getenv("QUORISDEX_OPEN_SCREEN"); screen && *screen) {
            const char* member = std::getenv("QUORISDEX_OPEN_MEMBER");
            if (std::string(screen) == "frmDoc22" && member && *member) {
                frame->openMemberCard(std::atoll(member));
            } else if (std::string(screen) == "frmRealtime_kftc") {
                // The real-time panel opens from the KFTC screen once it is up.
                QTimer::singleShot(0, frame.get(), [&] {
                    QTimer::singleShot(2000, frame.get(), [] {
                        QWidget* kftc = QApplication::activeModalWidget();
                        if (auto* b = kftc ? kftc->findChild<QPushButton*>("cmdRealtime") : nullptr)
                            b->click();
                    });
                    ShowKftcSendScreen(db, session, ui, frame.get());
                });
            } else if (std::string(screen) == "frmFileSend_kftc" ||
                       std::string(screen) == "frmFileSend") {
                // The transmission windows are modal: opened once the loop runs.
                const bool kftc = std::string(screen) == "frmFileSend_kftc";
                QTimer::singleShot(0, frame.get(), [&, kftc] {
                    if (kftc)
                        ShowKftcSendScreen(db, session, ui, frame.get());
                    else
                        ShowRelaySendScreen(db, session, ui, frame.get());
                });
            } else {
                frame->openScreenById(screen);
            }
        }
        const auto& notices = login.notices();
        const std::string mark = login.newestNotice();
        if (!notices.empty() &&
            notices.front().number != settings.get(kSettingsSection, kBoardKey, kBoardKeyDefault) &&
            !mark.empty()) {
            const auto split = mark.rfind("[S]");
            ShowNotice(webHost, frame.get(), Q(mark.substr(split + 3)), Q(mark.substr(0, split)));
            // Shown once: the next start knows this notice has been seen.
            settings.set(kSettingsSection, kBoardKey, notices.front().number);
        }
        result = app.exec();
    } catch (const DatabaseError& e) {
        ui.inform(e.userMessage(), kDefaultTitle);
        result = 1;
    }
    db.close();
    return result;
}
