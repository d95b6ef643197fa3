#include "ui/main/main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "cms/transmission/open_transmission.h"
#include "core/session_context.h"
#include "db/database.h"
#include "db/schema_upgrade.h"
#include "platform/interaction.h"
#include "platform/process_control.h"
#include "session/cms_summary.h"
#include "session/eb11_status.h"
#include "ui/cms/eb13_screen.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/cms/relay_send_screen.h"
#include "ui/gui_interaction.h"
#include "ui/login/splash_window.h"
#include "ui/main/summary_panel.h"
#include "ui/members/member_screens.h"
#include "ui/messaging/sms_screens.h"

namespace qx::ui {

namespace {

constexpr const char* kPlacementSection = "Settings";
constexpr const char* kKftcToolWindow = "금결원 송수신";
// A relay institution's transmission command opens the relay send screen.
constexpr const char* kRelayToolWindow = "송수신프로그램";
constexpr const char* kCardToolWindow = "신용카드 송수신";

void OpenInBrowser(const std::string& url) {
    QDesktopServices::openUrl(QUrl(Q(url)));
}

// A window whose work arrives with a later part of the program: its title.
void ShowToolWindow(QWidget* parent, const std::string& title) {
    QDialog dialog(parent);
    dialog.setWindowTitle(Q(title));
    auto* layout = new QVBoxLayout(&dialog);
    auto* caption = new QLabel(Q(title), &dialog);
    QFont f = caption->font();
    f.setBold(true);
    f.setPointSize(f.pointSize() + 2);
    caption->setFont(f);
    layout->addWidget(caption);
    dialog.resize(420, 240);
    dialog.exec();
}

}  // namespace

MainFrame::MainFrame(Database& db, SessionContext& session, Interaction& ui, UserSettings settings,
                     MainFrameHooks hooks, QWidget* parent)
    : QMainWindow(parent),
      db_(db),
      session_(session),
      ui_(ui),
      settings_(std::move(settings)),
      hooks_(std::move(hooks)),
      screenContext_{db, session, ui, nullptr} {
    if (!hooks_.openUrl) hooks_.openUrl = OpenInBrowser;
    if (!hooks_.startProgram) {
        hooks_.startProgram = [](const std::string& program) { return StartDetached(program, {}); };
    }
    if (!hooks_.openToolWindow) {
        hooks_.openToolWindow = [this](const std::string& title) {
            if (title == kKftcToolWindow) return ShowKftcSendScreen(db_, session_, ui_, this);
            if (title == kRelayToolWindow) return ShowRelaySendScreen(db_, session_, ui_, this);
            if (title == kCardToolWindow)
                return ShowRelaySendScreen(db_, session_, ui_, this, RelayChannel::Cards);
            ShowToolWindow(this, title);
        };
    }
    if (!hooks_.kftcStatusQuery) {
        hooks_.kftcStatusQuery = [this] { return QueryKftcEb11Summary(db_, session_, ui_, this); };
    }
    screenContext_.openUrl = hooks_.openUrl;
    screenContext_.openScreen = [this](const std::string& screen) {
        return openScreenById(screen);
    };
    // The list that asks is closed by the card opening: run once its handler
    // has returned.
    screenContext_.openMember = [this](long long member) {
        QTimer::singleShot(0, this, [this, member] { openMemberCard(member); });
    };

    setObjectName("frmMain");
    setWindowTitle(Q(session_.caption()));
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    panel_ = new SummaryPanel(central);
    area_ = new QMdiArea(central);
    area_->setObjectName("mdiArea");
    area_->setBackground(QColor(0x5a, 0x6e, 0x8c));
    layout->addWidget(panel_);
    layout->addWidget(area_, 1);
    setCentralWidget(central);
    buildMenus();
    buildButtonBar();
    // Small enough for the smallest screens in use; below it the menus and
    // the summary panel would crowd out the business screen.
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    resize(1280, 800);

    connect(panel_, &SummaryPanel::refreshRequested, this, &MainFrame::refreshSummary);
    connect(panel_, &SummaryPanel::eb11Clicked, this, &MainFrame::onEb11Clicked);
    connect(panel_, &SummaryPanel::menuRequested, this,
            [this](int group, int item) { OpenMenuScreen(group, item); });
    connect(panel_, &SummaryPanel::remoteSupportRequested, this, &MainFrame::startRemoteSupport);

    panel_->showSummary(session_.cms_summary, Q(RegularMonth(session_)));
    refreshEb11();
}

void MainFrame::buildMenus() {
    auto* bar = new QToolBar(QStringLiteral("메뉴"), this);
    bar->setObjectName("tbMenu");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->setStyleSheet(
        "QToolBar { background: #1f3a66; spacing: 2px; padding: 2px; }"
        "QToolButton { color: white; font-weight: bold; padding: 8px 18px; border: none; }"
        "QToolButton:hover { background: #2f5496; }"
        "QToolButton:checked { background: #f0a830; color: #1f1f1f; }"
        "QToolButton::menu-indicator { image: none; }");
    const auto captions = SplitCaptions(kMenuGroupCaptions);
    const auto groups = MenuGroups();
    for (std::size_t i = 0; i < captions.size() && i < groups.size(); ++i) {
        const int group = groups[i];
        auto* button = new QToolButton(bar);
        button->setText(Q(captions[i]));
        button->setObjectName(QStringLiteral("mnuGroup%1").arg(group));
        if (group == 0) {
            connect(button, &QToolButton::clicked, this, &QWidget::close);
        } else {
            button->setCheckable(true);
            auto* menu = new QMenu(button);
            for (const auto& entry : SubMenu(group)) {
                const int item = entry.item;
                menu->addAction(Q(entry.caption), this,
                                [this, group, item] { OpenMenuScreen(group, item); });
            }
            button->setMenu(menu);
            button->setPopupMode(QToolButton::InstantPopup);
            // The highlight follows the open screen, not the click.
            connect(menu, &QMenu::aboutToHide, this, [this] { highlightGroup(highlightedGroup_); });
            groupButtons_[group] = button;
        }
        bar->addWidget(button);
    }
    addToolBar(Qt::TopToolBarArea, bar);
    addToolBarBreak();
}

void MainFrame::buildButtonBar() {
    auto* bar = new QToolBar(QStringLiteral("바로가기"), this);
    bar->setObjectName("tbButtons");
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [&](const QString& text, const QString& name, std::function<void()> action) {
        QAction* a = bar->addAction(text, this, std::move(action));
        a->setObjectName(name);
    };
    add(QStringLiteral("파일생성"), "cmdCreateFiles",
        [this] { runQuickAction(QuickAction::kCreateFiles); });
    add(QStringLiteral("금결원 송수신"), "cmdKftc",
        [this] { runQuickAction(QuickAction::kKftcTransmission); });
    add(QStringLiteral("송수신프로그램"), "cmdCompanion",
        [this] { runQuickAction(QuickAction::kCompanionProgram); });
    add(QStringLiteral("신용카드 송수신"), "cmdCard",
        [this] { runQuickAction(QuickAction::kCardTransmission); });
    add(QStringLiteral("일괄업로드"), "cmdBatchUpload",
        [this] { runQuickAction(QuickAction::kBatchUpload); });
    add(QStringLiteral("세금계산서"), "cmdTaxInvoice",
        [this] { runQuickAction(QuickAction::kTaxInvoiceProgram); });
    bar->addSeparator();
    add(QStringLiteral("원격지원"), "cmdRemote", [this] { startRemoteSupport(); });
    add(QStringLiteral("종료"), "cmdExit", [this] { close(); });
    addToolBar(Qt::TopToolBarArea, bar);
}

void MainFrame::showPlaced() {
    const auto get = [this](const char* key) { return settings_.get(kPlacementSection, key, ""); };
    bool ok[4] = {false, false, false, false};
    const int left = Q(get("MainLeft")).toInt(&ok[0]);
    const int top = Q(get("MainTop")).toInt(&ok[1]);
    const int width = Q(get("MainWidth")).toInt(&ok[2]);
    const int height = Q(get("MainHeight")).toInt(&ok[3]);
    if (ok[0] && ok[1] && ok[2] && ok[3] && width > 100 && height > 100) {
        setGeometry(left, top, width, height);
    }
    if (get("MeMax") == "1") {
        showMaximized();
        return;
    }
    show();
    // Never larger than the screen it opens on (a small screen, or a place
    // saved on a bigger one): the window's edges and buttons stay in reach.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        const QSize frame = frameGeometry().size() - geometry().size();
        resize(size().boundedTo(room.size() - frame).expandedTo(minimumSize()));
        if (!room.contains(frameGeometry())) move(room.topLeft());
    }
}

void MainFrame::savePlacement() {
    if (isMinimized()) return;
    const QRect g = isMaximized() ? normalGeometry() : geometry();
    settings_.set(kPlacementSection, "MeMax", isMaximized() ? "1" : "0");
    settings_.set(kPlacementSection, "MainLeft", std::to_string(g.x()));
    settings_.set(kPlacementSection, "MainTop", std::to_string(g.y()));
    settings_.set(kPlacementSection, "MainWidth", std::to_string(g.width()));
    settings_.set(kPlacementSection, "MainHeight", std::to_string(g.height()));
}

void MainFrame::closeEvent(QCloseEvent* event) {
    if (!ui_.confirm(kCloseQuestion, kDefaultTitle)) {
        event->ignore();
        return;
    }
    savePlacement();
    event->accept();
}

void MainFrame::startUp() {
    Guarded(ui_, [this] {
        const auto [group, item] = StartScreen(session_);
        EnsureMemberNoteTables(db_, session_.institution_number);
        OpenMenuScreen(group, item);
    });
}

bool MainFrame::openScreenById(const std::string& screen) {
    if (screen == "frmDoc47") return OpenMenuScreen(40, 6);
    if (screen == "frmDoc48") return OpenMenuScreen(40, 7);
    if (screen == "frmDoc00") return OpenMenuScreen(0, 0);
    // The EB13 and EB21 creation windows open over their list screens.
    if (screen == "frmDoc31_1" || screen == "frmDoc32_1") {
        if (!openScreenById(screen.substr(0, 8))) return false;
        auto* list = currentBusinessScreen();
        return list && list->openSubScreen(screen);
    }
    // The send windows open over the screens that hand them their members:
    // frmLMS over the member list, frmLMS2 over the newest EB13 file.
    if (screen == "frmLMS" || screen == "frmLMS2") {
        if (!openScreenById(screen == "frmLMS" ? "frmDoc20" : "frmDoc31")) return false;
        BusinessScreen* current = currentBusinessScreen();
        if (auto* list = current ? current->findChild<MemberListScreen*>() : nullptr) {
            QTimer::singleShot(0, list, [list] { list->openSms(); });
            return true;
        }
        if (auto* files = current ? current->findChild<Eb13Screen*>() : nullptr) {
            QTimer::singleShot(0, files, [files] {
                files->selectNewestFile();
                files->openSms();
            });
            return true;
        }
        return false;
    }
    if (screen == "popupSMS") {
        QTimer::singleShot(0, this, [this] {
            SmsHelpDialog help(this);
            help.exec();
        });
        return true;
    }
    // The card request windows open over their result screens.
    if (screen == "frmDoc38_1" || screen == "frmDoc39_1" || screen == "frmDoc39_2") {
        if (!openScreenById(screen.substr(0, 8))) return false;
        auto* list = currentBusinessScreen();
        return list && list->openSubScreen(screen);
    }
    // The GR15 file window opens over the list of applied giro files.
    if (screen == "popupGIRO") {
        if (!openScreenById("frmDoc37")) return false;
        auto* list = currentBusinessScreen();
        return list && list->openSubScreen(screen);
    }
    // The bill issue and bill text windows open over the bill list.
    if (screen == "frmDoc54_1" || screen == "frmFreeView") {
        if (!openScreenById("frmDoc54")) return false;
        auto* list = currentBusinessScreen();
        return list && list->openSubScreen(screen);
    }
    const auto code = MenuCodeOf(screen);
    return code ? OpenMenuScreen(code->first, code->second) : false;
}

bool MainFrame::openMemberCard(long long member) {
    auto currentList = [this]() -> MemberListScreen* {
        BusinessScreen* screen = currentBusinessScreen();
        return screen ? screen->findChild<MemberListScreen*>() : nullptr;
    };
    MemberListScreen* list = currentList();
    if (!list && openScreenById("frmDoc20")) list = currentList();
    if (!list || !list->selectMember(member)) return false;
    return OpenMenuScreen(20, 2);
}

BusinessScreen* MainFrame::currentBusinessScreen() const {
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        auto* screen = qobject_cast<BusinessScreen*>(sub->widget());
        if (screen && !sub->isHidden() && S(screen->objectName()) == current_) return screen;
    }
    return nullptr;
}

QStringList MainFrame::openScreens() const {
    QStringList out;
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        if (!sub->isHidden() && sub->widget()) out << sub->widget()->objectName();
    }
    return out;
}

bool MainFrame::OpenMenuScreen(int group, int item) {
    MemberListState list;
    if (BusinessScreen* screen = currentBusinessScreen()) list = screen->memberList();
    const MenuChoice choice = ChooseMenuScreen(session_, group, item, list);
    switch (choice.action) {
        case MenuAction::kIgnore:
            return false;
        case MenuAction::kRefuse:
        case MenuAction::kMessage:
            ui_.inform(choice.message, kDefaultTitle);
            return false;
        case MenuAction::kCloseOnly:
        case MenuAction::kOpen:
            break;
    }
    if (choice.action == MenuAction::kOpen) {
        QMdiSubWindow* window = nullptr;
        for (QMdiSubWindow* sub : area_->subWindowList()) {
            if (!sub->isHidden() && sub->widget() &&
                S(sub->widget()->objectName()) == choice.screen) {
                window = sub;
            }
        }
        if (window) {
            if (auto* screen = qobject_cast<BusinessScreen*>(window->widget())) {
                screen->reopen(choice);
            }
        } else {
            // A screen that fails while it starts is reported like a failed
            // action; the current screen stays.
            BusinessScreen* screen = nullptr;
            Guarded(ui_, [&] { screen = CreateBusinessScreen(choice, screenContext_); });
            if (!screen) return false;
            window = area_->addSubWindow(screen, Qt::FramelessWindowHint);
            window->setObjectName(Q(choice.screen));
            window->setAttribute(Qt::WA_DeleteOnClose);
        }
        window->showMaximized();
        area_->setActiveSubWindow(window);
    }
    current_ = choice.screen;
    if (group > 0) highlightGroup(group);
    if (NeedsTaxModuleLogout(current_, taxModuleInUse_)) {
        // The module's web session ends at its logout page.
        if (hooks_.hiddenNavigate) hooks_.hiddenNavigate(TaxModuleLogoutUrl(session_));
        taxModuleInUse_ = false;
    }
    closeOtherScreens();
    if (choice.externalSite >= 0) hooks_.openUrl(ExternalSiteUrl(session_, choice.externalSite));
    return true;
}

void MainFrame::closeOtherScreens() {
    for (QMdiSubWindow* sub : area_->subWindowList()) {
        const QString name = sub->widget() ? sub->widget()->objectName() : sub->objectName();
        if (name.left(6) == QStringLiteral("frmDoc") && S(name) != current_) sub->close();
    }
}

void MainFrame::highlightGroup(int group) {
    highlightedGroup_ = group;
    for (auto& [number, button] : groupButtons_) button->setChecked(number == group);
}

void MainFrame::refreshSummary() {
    Guarded(ui_, [this] {
        SplashWindow splash(this);
        splash.setStatus(QStringLiteral("CMS 요약 조회중 입니다."));
        splash.show();
        QApplication::processEvents();
        session_.cms_summary = ComputeCmsSummary(db_, session_);
        splash.setStatus(QStringLiteral("프로그램을 읽어 들이고 있습니다."));
        QApplication::processEvents();
        panel_->showSummary(session_.cms_summary, Q(RegularMonth(session_)));
        splash.close();
    });
}

void MainFrame::refreshEb11() {
    Guarded(ui_, [this] { panel_->showEb11(LoadEb11Status(db_, session_)); });
}

void MainFrame::onEb11Clicked() {
    if (session_.cmsrunprg != 1) return;
    if (!ui_.confirm(kEb11DetailQuestion, kEb11DetailTitle)) return;
    Guarded(ui_, [this] {
        if (hooks_.kftcStatusQuery) {
            if (auto text = hooks_.kftcStatusQuery()) {
                StoreEb11Check(db_, session_.institution_number, *text);
            }
        }
    });
    refreshEb11();
}

void MainFrame::runQuickAction(QuickAction action) {
    const Gate gate = QuickActionGate(session_, action);
    if (!gate.allowed) {
        ui_.inform(gate.message, kDefaultTitle);
        return;
    }
    switch (action) {
        case QuickAction::kCreateFiles:
            OpenMenuScreen(30, 0);
            break;
        case QuickAction::kKftcTransmission:
            if (KftcTransmissionAsksForEa12(session_)) {
                if (ui_.confirm(kTestAccountEa12Question, kDefaultTitle)) {
                    hooks_.openToolWindow("EB12 파일 작성");
                }
            } else {
                hooks_.openToolWindow(kKftcToolWindow);
            }
            break;
        case QuickAction::kCompanionProgram:
            // A relay institution sends through the relay's own screen.
            if (session_.cmsrunprg != 1) {
                hooks_.openToolWindow(kRelayToolWindow);
                break;
            }
            Guarded(ui_, [this] {
                TransmissionLaunchers launch;
                launch.openKftcScreen = [this] { hooks_.openToolWindow(kKftcToolWindow); };
                launch.startProgram = [this](const std::string& program, const std::string&) {
                    return hooks_.startProgram(program);
                };
                OpenTransmission(db_, session_, ui_, launch);
            });
            break;
        case QuickAction::kCardTransmission:
            hooks_.openToolWindow(kCardToolWindow);
            break;
        case QuickAction::kBatchUpload:
            OpenMenuScreen(50, 0);
            break;
        case QuickAction::kTaxInvoiceProgram:
            OpenMenuScreen(50, 5);
            break;
    }
}

void MainFrame::startRemoteSupport() {
    const std::string program = FindRemoteSupportClient(session_.SystemDrive);
    if (!program.empty() && hooks_.startProgram(program)) return;
    QDialog window(this);
    window.setObjectName("frmRemote");
    window.setWindowTitle(QStringLiteral("원격지원"));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(Q(kRemoteSupportMissing), &window));
    layout->addWidget(new QLabel(Q(kRemoteSupportInstall), &window));
    window.exec();
}

}  // namespace qx::ui
