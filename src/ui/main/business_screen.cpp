#include "ui/main/business_screen.h"

#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include "db/database.h"
#include "platform/interaction.h"
#include "ui/card/card_screens.h"
#include "ui/cms/cms_status_screen.h"
#include "ui/cms/eb11_screen.h"
#include "ui/cms/eb13_screen.h"
#include "ui/cms/eb21_creation_dialog.h"
#include "ui/cms/eb21_screen.h"
#include "ui/cms/ei13_screen.h"
#include "ui/export/bill_screens.h"
#include "ui/giro/giro_screens.h"
#include "ui/gui_interaction.h"
#include "ui/institution/institution_screen.h"
#include "ui/institution/organisation_screen.h"
#include "ui/items/item_screen.h"
#include "ui/ledger/ledger_screens.h"
#include "ui/main/web_board_screen.h"
#include "ui/members/batch_agreement_screen.h"
#include "ui/members/member_screens.h"
#include "ui/messaging/sms_screens.h"
#include "ui/reports/report_screens.h"
#include "ui/settings/code_list_screen.h"
#include "ui/settings/program_settings_screen.h"

namespace qx::ui {

BusinessScreen::BusinessScreen(const QString& id, const QString& title, QWidget* parent)
    : QWidget(parent) {
    setObjectName(id);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    title_ = new QLabel(title, this);
    title_->setObjectName("lblTitle");
    QFont f = title_->font();
    f.setPointSize(f.pointSize() + 3);
    f.setBold(true);
    title_->setFont(f);
    title_->setStyleSheet("color: #1f3a66; padding-bottom: 6px; border-bottom: 2px solid #1f3a66;");
    // The title keeps its height; the screen's own content takes the rest.
    title_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(title_);
    // The content scrolls when the window is smaller than the form, so that
    // every field and button stays reachable; otherwise it fills the window.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName("scrBody");
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll_);
    content->setObjectName("bodyContent");
    body_ = new QVBoxLayout(content);
    body_->setContentsMargins(0, 0, 0, 0);
    scroll_->setWidget(content);
    layout->addWidget(scroll_, 1);
}

QString BusinessScreen::title() const {
    return title_->text();
}

BusinessScreen* CreateBusinessScreen(const MenuChoice& choice, ScreenContext& context,
                                     QWidget* parent) {
    const QString id = Q(choice.screen);
    const QString title = Q(choice.title);
    if (choice.screen == "frmDoc10" || choice.screen == "frmDoc10_1") {
        return new InstitutionScreen(id, title, context, parent);
    }
    if (choice.screen == "frmDoc14") return new OrganisationScreen(id, title, context, parent);
    if (choice.screen == "frmDoc60") {
        auto* screen = new WebBoardScreen(id, title, context, parent);
        screen->reopen(choice);
        return screen;
    }
    auto* screen = new BusinessScreen(id, title, parent);
    const std::string& s = choice.screen;
    // Screens that speak through Interaction work with any implementation of it.
    QWidget* content = nullptr;
    if (s == "frmDoc12")
        content = new CodeListScreen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc13") content = new ItemScreen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc15")
        content = new ProgramSettingsScreen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc46")
        content = new SmsHistoryScreen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc32") {
        auto* files = new Eb21Screen(context.db, context.session, context.ui, screen);
        screen->setSubScreenOpener(
            [files](const std::string& id) { return id == "frmDoc32_1" && files->openCreation(); });
        content = files;
    }
    if (s == "frmDoc33" || s == "frmDoc33_1")
        content = new Eb11Screen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc34") content = new Ei13Screen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc38" || s == "frmDoc39") {
        auto* cards =
            new CardResultScreen(context.db, context.session, context.ui, s == "frmDoc38", screen);
        screen->setSubScreenOpener([cards](const std::string& id) {
            if (id == "frmDoc38_1") return cards->openMemberRequest() != nullptr;
            if (id == "frmDoc39_1") return cards->openPaymentRequest() != nullptr;
            if (id == "frmDoc39_2") return cards->openCancellations() != nullptr;
            return false;
        });
        content = cards;
    }
    if (s == "frmDoc37") {
        auto* report = new Gr15ReportScreen(context.db, context.session, context.ui, screen);
        // popupGIRO, the GR15 file itself, opens over the list of applied files.
        screen->setSubScreenOpener([report](const std::string& id) {
            return id == "popupGIRO" && report->openReceipts() != nullptr;
        });
        content = report;
    }
    // E-mailed bills; the issue and text windows open from this screen.
    if (s == "frmDoc54") {
        auto* bills = new BillListScreen(context.db, context.session, context.ui,
                                         ScreenWebHost(context.session), context.openUrl, screen);
        screen->setSubScreenOpener([bills](const std::string& id) {
            if (id == "frmDoc54_1") return bills->openIssue() != nullptr;
            if (id == "frmFreeView") return bills->openTexts() != nullptr;
            return false;
        });
        content = bills;
    }
    if (s == "frmDoc41")
        content = new ChannelReportScreen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc42" || s == "frmDoc43")
        content = new LedgerReportScreen(context.db, context.session, context.ui, s == "frmDoc42",
                                         screen);
    if (s == "frmDoc44")
        content = new MemberReportScreen(context.db, context.session, context.ui, screen);
    if (s == "frmDoc45")
        content = new AnnualReportScreen(context.db, context.session, context.ui,
                                         ServiceWebMonthdivRequest(ScreenWebHost(context.session)),
                                         screen);
    if (!content) content = CreateLedgerScreen(s, context, screen);
    if (content) {
        screen->body()->addWidget(content, 1);
        return screen;
    }
    // Screens built on the desktop's message boxes sit under the title line.
    if (auto* gui = dynamic_cast<GuiInteraction*>(&context.ui)) {
        if (s == "frmDoc20" || s == "frmDoc20_1") {
            auto* list = new MemberListScreen(context.db, context.session, *gui, screen);
            screen->setMemberList([list] { return list->state(); });
            if (context.openMember) {
                QObject::connect(list, &MemberListScreen::memberChosen, list,
                                 [open = context.openMember](long long m) { open(m); });
            }
            content = list;
        }
        if (s == "frmDoc21")
            content = new NewMemberScreen(context.db, context.session, *gui, screen);
        if (s == "frmDoc22") {
            auto* card = new MemberCardScreen(context.db, context.session, *gui, screen);
            if (choice.member > 0) card->open(choice.member);
            content = card;
        }
        if (s == "frmDoc30") {
            auto* status = new CmsStatusScreen(context.db, context.session, *gui, screen);
            Database* db = &context.db;
            SessionContext* session = &context.session;
            // The EB13/EB14 and EB21/EB22 files are handled in their own
            // windows; the panel shows what changed once one is closed.
            QObject::connect(status, &CmsStatusScreen::openEb13Screen, status,
                             [db, session, gui, status] {
                                 ShowEb13Window(*db, *session, *gui, status);
                                 status->rebuildEb13();
                             });
            QObject::connect(status, &CmsStatusScreen::openEb11Screen, status,
                             [db, session, gui, status] {
                                 OpenEb11FromStatus(*db, *session, *gui, status);
                                 status->rebuildEb11();
                             });
            QObject::connect(status, &CmsStatusScreen::openEb21Screen, status,
                             [db, session, gui, status] {
                                 ShowEb21Window(*db, *session, *gui, status);
                                 status->rebuildEb21();
                             });
            content = status;
        }
        if (s == "frmDoc31") {
            auto* list = new Eb13Screen(context.db, context.session, *gui, screen);
            auto open = context.openScreen;
            // Agreement evidence first: the EI13 screen takes this one's place.
            QObject::connect(
                list, &Eb13Screen::ei13ScreenWanted, list,
                [open] {
                    if (open) open("frmDoc34");
                },
                Qt::QueuedConnection);
            screen->setSubScreenOpener([list](const std::string& id) {
                return id == "frmDoc31_1" && list->openCreation() != nullptr;
            });
            content = list;
        }
        if (s == "frmDoc21_1") {
            content = new BatchAgreementScreen(context.db, context.session, *gui, screen);
        }
        if (content) {
            screen->body()->addWidget(content, 1);
            return screen;
        }
    }
    // A screen whose work comes later: its title line on top, nothing else.
    screen->body()->addStretch(1);
    return screen;
}

}  // namespace qx::ui
