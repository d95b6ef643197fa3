#include "ui/cms/cms_status_screen.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "cms/transmission/open_transmission.h"
#include "cms/workspace/head_office_gate.h"
#include "core/session_context.h"
#include "ui/cms/kftc_send_screen.h"
#include "ui/cms/relay_send_screen.h"
#include "ui/cms/status_grid.h"
#include "ui/export/grid_export.h"
#include "ui/gui_interaction.h"
#include "ui/main/business_screen.h"

namespace qx::ui {

namespace {

constexpr const char* kCaptionStyle = "font-weight: bold; padding: 3px;";
// The EB11 caption when bank-received files wait: they must be answered.
constexpr const char* kHighlightStyle =
    "font-weight: bold; padding: 3px; color: white; background: #c0392b;";

}  // namespace

CmsStatusScreen::CmsStatusScreen(Database& db, SessionContext& session, GuiInteraction& ui,
                                 QWidget* parent)
    : QWidget(parent), db_(db), session_(session), ui_(ui) {
    setObjectName(kScreenId);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    eb11Grid_ = addPanel("grdEb11", &eb11Caption_);
    eb13Grid_ = addPanel("grdEb13", &eb13Caption_);
    eb21Grid_ = addPanel("grdEb21", &eb21Caption_);
    AttachExcelExport(*eb11Grid_, "EB11/EB12 현황", db_, session_, ui_);
    AttachExcelExport(*eb13Grid_, "EB13/EB14 현황", db_, session_, ui_);
    AttachExcelExport(*eb21Grid_, "EB21/EB22 현황", db_, session_, ui_);

    auto* buttons = new QHBoxLayout;
    eb11Button_ = new QPushButton(QStringLiteral("은행접수분처리(EB11/EB12)"));
    eb11Button_->setObjectName("cmdEb11");
    eb13Button_ = new QPushButton(QStringLiteral("신규/해지 처리(EB13/EB14)"));
    eb13Button_->setObjectName("cmdEb13");
    eb21Button_ = new QPushButton(QStringLiteral("출금 처리(EB21/EB22)"));
    eb21Button_->setObjectName("cmdEb21");
    // Each button is enabled once whoever opens its screen is connected.
    eb11Button_->setEnabled(false);
    eb13Button_->setEnabled(false);
    eb21Button_->setEnabled(false);
    // The day's files leave from here too: the institution's transmission path.
    auto* transmit = new QPushButton(QStringLiteral("파일 송수신"));
    transmit->setObjectName("cmdTransmit");
    transmit->setAutoDefault(false);
    connect(transmit, &QPushButton::clicked, this, &CmsStatusScreen::openTransmission);
    buttons->addWidget(transmit);
    buttons->addStretch(1);
    buttons->addWidget(eb11Button_);
    buttons->addWidget(eb13Button_);
    buttons->addWidget(eb21Button_);
    layout->addLayout(buttons);

    connect(eb13Button_, &QPushButton::clicked, this, [this] { emit openEb13Screen(); });
    connect(eb11Button_, &QPushButton::clicked, this, [this] { emit openEb11Screen(); });
    connect(eb21Button_, &QPushButton::clicked, this, [this] { emit openEb21Screen(); });
    rebuildAll();
}

void CmsStatusScreen::openTransmission() {
    Guarded(ui_, [this] {
        if (!session_.isHeadOffice()) {
            ui_.inform(kBranchTransmissionRefusedText, kDefaultTitle);
            return;
        }
        if (session_.cmsrunprg != 1) {
            ShowRelaySendScreen(db_, session_, ui_, this);
            return;
        }
        TransmissionLaunchers launch;
        launch.openKftcScreen = [this] { ShowKftcSendScreen(db_, session_, ui_, this); };
        OpenTransmission(db_, session_, ui_, launch);
    });
    rebuildAll();
}

void CmsStatusScreen::connectNotify(const QMetaMethod& signal) {
    if (signal == QMetaMethod::fromSignal(&CmsStatusScreen::openEb13Screen)) {
        eb13Button_->setEnabled(true);
    }
    if (signal == QMetaMethod::fromSignal(&CmsStatusScreen::openEb11Screen)) {
        eb11Button_->setEnabled(true);
    }
    if (signal == QMetaMethod::fromSignal(&CmsStatusScreen::openEb21Screen)) {
        eb21Button_->setEnabled(true);
    }
}

QTableWidget* CmsStatusScreen::addPanel(const char* objectName, QLabel** caption) {
    auto* box = qobject_cast<QVBoxLayout*>(layout());
    *caption = new QLabel;
    (*caption)->setObjectName(QString::fromLatin1(objectName).replace("grd", "lbl"));
    (*caption)->setStyleSheet(kCaptionStyle);
    box->addWidget(*caption);
    auto* grid = new QTableWidget(0, 0);
    grid->setObjectName(objectName);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 8);
    box->addWidget(grid, 1);
    return grid;
}

void CmsStatusScreen::fill(QTableWidget* grid, QLabel* caption, const StatusPanel& panel) {
    caption->setText(Q(panel.title));
    caption->setStyleSheet(panel.highlighted ? kHighlightStyle : kCaptionStyle);
    caption->setProperty("highlighted", panel.highlighted);
    grid->clearContents();
    SetUpStatusGrid(grid, panel.columns);
    FillStatusGrid(grid, panel.columns, panel.rows);
}

void CmsStatusScreen::rebuildAll() {
    if (!HeadOfficeMayWorkOnFiles(session_, ui_)) return;
    rebuildEb11();
    rebuildEb13();
    rebuildEb21();
}

void CmsStatusScreen::rebuildEb11() {
    Guarded(ui_, [this] { fill(eb11Grid_, eb11Caption_, BuildEb11Panel(db_, session_, ui_)); });
}

void CmsStatusScreen::rebuildEb13() {
    Guarded(ui_, [this] {
        fill(eb13Grid_, eb13Caption_, BuildEb13Panel(db_, session_, ui_, ServerToday(db_)));
    });
}

void CmsStatusScreen::rebuildEb21() {
    Guarded(ui_, [this] {
        fill(eb21Grid_, eb21Caption_, BuildEb21Panel(db_, session_, ui_, ServerToday(db_)));
    });
}

}  // namespace qx::ui
