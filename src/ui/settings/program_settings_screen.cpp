#include "ui/settings/program_settings_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "db/database.h"
#include "platform/profile_ini.h"
#include "session/session_context.h"
#include "ui/gui_interaction.h"
#include "ui/settings/screen_guard.h"

namespace qx::ui {

namespace {

QComboBox* Combo(const std::vector<std::string>& entries) {
    auto* c = new QComboBox;
    for (const auto& e : entries) c->addItem(Q(e));
    return c;
}

QLabel* Note(const char* text) {
    auto* l = new QLabel(Q(text));
    l->setWordWrap(true);
    l->setStyleSheet("color: #a33;");
    return l;
}

}  // namespace

ProgramSettingsScreen::ProgramSettingsScreen(Database& db, SessionContext& session,
                                             GuiInteraction& ui, QWidget* parent)
    : QWidget(parent),
      db_(db),
      session_(session),
      ui_(ui),
      ini_(std::make_unique<ProfileIni>(session.AppPath + "Login.ini")) {
    setObjectName(kScreenId);
    setWindowTitle(Q(kSettingsTitle));
    auto* outer = new QVBoxLayout(this);
    auto* title = new QLabel(Q(kSettingsTitle));
    title->setStyleSheet("font-weight: bold; font-size: 14px;");
    outer->addWidget(title);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto* body = new QWidget;
    auto* columns = new QHBoxLayout(body);
    scroll->setWidget(body);
    outer->addWidget(scroll);

    // Institution-wide switches: written as soon as a selector changes.
    auto* cmsBox = new QGroupBox(QStringLiteral("CMS 설정"));
    auto* cmsForm = new QFormLayout(cmsBox);
    for (const auto& sel : CmsSetSelectors()) {
        if (sel.position == kPosItems) continue;
        auto* combo = Combo(sel.entries);
        selectors_[sel.position] = combo;
        cmsForm->addRow(Q(sel.caption), combo);
        const int position = sel.position;
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, position](int index) { onSelector(position, index); });
    }
    itemsUnused_ = new QCheckBox(Q(kItemsUnusedCaption));
    cmsForm->addRow(itemsUnused_);
    connect(itemsUnused_, &QCheckBox::toggled, this,
            [this](bool on) { onSelector(kPosItems, on ? 0 : 1); });

    monthDivide_ = Combo({"금월", "전월"});
    cmsForm->addRow(QStringLiteral("정기분 선택"), monthDivide_);
    connect(monthDivide_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (loading_) return;
        RunGuarded(ui_, [&] {
            SetMonthDivide(db_, session_, index == 0);
            showCmsSet(LoadProgramSettings(db_, session_).cms_set);
        });
    });
    virtualAccount_ = Combo({"신규등록시 자동등록", "관리자 지정 등록"});
    cmsForm->addRow(QStringLiteral("가상계좌 등록방식"), virtualAccount_);
    connect(virtualAccount_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_) RunGuarded(ui_, [&] { SetVirtualAccountMode(db_, session_, index); });
    });
    auto addSwitch = [&](const char* caption, InstitutionSwitch which) {
        auto* box = new QCheckBox(Q(caption));
        cmsForm->addRow(box);
        connect(box, &QCheckBox::toggled, this, [this, which](bool on) {
            if (!loading_) SetInstitutionSwitch(db_, session_, which, on);
        });
        return box;
    };
    instalmentCancel_ =
        addSwitch("할부완납시 회원상태 자동 해지 처리", InstitutionSwitch::kInstalmentAutoCancel);
    ignoreLedger_ = addSwitch("출금신청시 정기분 원장매출 무시하고 일괄매출 발생",
                              InstitutionSwitch::kIgnoreLedgerSales);
    excludeLater_ =
        addSwitch("출금신청시 생성일자 이후 매출 자동제외", InstitutionSwitch::kExcludeLaterSales);
    auto* readOnly = new QLabel;
    readOnly->setObjectName("readOnlyInfo");
    cmsForm->addRow(readOnly);
    columns->addWidget(cmsBox, 1);

    // Desktop switches and the settings written by the apply button.
    auto* right = new QVBoxLayout;
    auto* deskBox = new QGroupBox(QStringLiteral("프로그램 환경"));
    auto* deskLayout = new QVBoxLayout(deskBox);
    for (int i = 0; i < 6; ++i) {
        desktop_[static_cast<std::size_t>(i)] = new QCheckBox(Q(DesktopSwitchCaption(i)));
        deskLayout->addWidget(desktop_[static_cast<std::size_t>(i)]);
        connect(desktop_[static_cast<std::size_t>(i)], &QCheckBox::toggled, this,
                [this, i](bool on) {
                    if (!loading_) SetDesktopSwitch(session_, *ini_, i, on);
                });
    }
    frozenColumns_ = new QSpinBox;
    frozenColumns_->setRange(0, 20);
    auto* frozenRow = new QHBoxLayout;
    frozenRow->addWidget(new QLabel(QStringLiteral("회원정보 틀고정수")));
    frozenRow->addWidget(frozenColumns_);
    deskLayout->addLayout(frozenRow);
    connect(frozenColumns_, &QSpinBox::valueChanged, this, [this](int v) {
        if (!loading_) SetFrozenColumns(session_, *ini_, v);
    });
    right->addWidget(deskBox);

    auto* folderBox = new QGroupBox(QStringLiteral("폴더"));
    auto* folderForm = new QFormLayout(folderBox);
    fileback_ = new QLineEdit;
    excel_ = new QLineEdit;
    tolvex_ = new QLineEdit;
    folderForm->addRow(QStringLiteral("CMS파일 백업폴더"), fileback_);
    folderForm->addRow(QStringLiteral("엑셀저장 폴더"), excel_);
    folderForm->addRow(QStringLiteral("송신프로그램 폴더"), tolvex_);
    right->addWidget(folderBox);

    auto* autoBox = new QGroupBox(QStringLiteral("자동출금"));
    auto* autoForm = new QFormLayout(autoBox);
    service_ = new QComboBox;
    for (const char* name : kAutoServiceNames) service_->addItem(Q(name));
    autoForm->addRow(QStringLiteral("자동출금 서비스 선택"), service_);
    auto* dayRow = new QHBoxLayout;
    for (auto& combo : days_) {
        combo = new QComboBox;
        combo->addItem(QStringLiteral("선택"));
        for (int d = 1; d <= kAutoDayLastEntry; ++d)
            combo->addItem(QString::number(d) + QStringLiteral("일"));
        dayRow->addWidget(combo);
    }
    autoForm->addRow(QStringLiteral("자동출금 처리일자"), dayRow);
    target_ = new QComboBox;
    for (const char* name : kAutoTargetNames) target_->addItem(Q(name));
    autoForm->addRow(QStringLiteral("자동출금 처리대상"), target_);
    autoForm->addRow(Note(kAutoWithdrawalNotAutomaticText));
    connect(service_, &QComboBox::currentIndexChanged, this, [this](int) { loadSchedule(); });
    right->addWidget(autoBox);

    auto* otherBox = new QGroupBox(QStringLiteral("기타"));
    auto* otherForm = new QFormLayout(otherBox);
    monthMax_ = new QLineEdit;
    otherForm->addRow(QStringLiteral("신규등록시 월청구 제한 기본값"), monthMax_);
    otherForm->addRow(Note("※ 0인 경우 제한 하지 않습니다."));
    otherForm->addRow(Note("※ 본사, 지점, 대리점 각각 별도 지정"));
    sendname_ = new QLineEdit;
    sendname_->setMaxLength(64);
    otherForm->addRow(QStringLiteral("회   사   명"), sendname_);
    right->addWidget(otherBox);

    auto* applyButton = new QPushButton(QStringLiteral("적용"));
    applyButton->setObjectName("applyButton");
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    right->addWidget(applyButton);
    right->addStretch();
    columns->addLayout(right, 1);

    load();
}

void ProgramSettingsScreen::load() {
    loading_ = true;
    settings_ = LoadProgramSettings(db_, session_);
    monthDivide_->setCurrentIndex(settings_.month_current ? 0 : 1);
    virtualAccount_->setCurrentIndex(settings_.vir_prgcre);
    instalmentCancel_->setChecked(settings_.installment_chk_use);
    ignoreLedger_->setChecked(settings_.ignorenonpay_use);
    excludeLater_->setChecked(settings_.checkexcept_use);
    for (int i = 0; i < 6; ++i)
        desktop_[static_cast<std::size_t>(i)]->setChecked(
            session_.prgstat[static_cast<std::size_t>(i)] != 0);
    frozenColumns_->setValue(session_.fixing_columns);
    fileback_->setText(Q(session_.fileback_folder));
    excel_->setText(Q(session_.excel_folder));
    tolvex_->setText(Q(session_.tolvex_folder));
    monthMax_->setText(QString::number(settings_.month_max));
    sendname_->setText(Q(settings_.sendname));
    if (auto* info = findChild<QLabel*>("readOnlyInfo")) {
        info->setText(Q(
            "예금주: " + settings_.account_title + "\n수금구분: " + settings_.settle_div +
            "\n금결원 자동출금: " + settings_.kftc_auto_use + " " + settings_.kftc_autofileflags));
    }
    loading_ = false;
    showCmsSet(settings_.cms_set);
    loadSchedule();
}

void ProgramSettingsScreen::showCmsSet(const std::string& cmsSet) {
    const bool was = loading_;
    loading_ = true;
    settings_.cms_set = cmsSet;
    for (auto& [position, combo] : selectors_) {
        const int digit = CmsSetDigit(cmsSet, position);
        combo->setCurrentIndex(digit < combo->count() ? digit : 0);
    }
    itemsUnused_->setChecked(CmsSetDigit(cmsSet, kPosItems) == 0);
    // Billing the previous month leaves no room for automatic sales.
    selectors_[kPosAutoSales]->setEnabled(monthDivide_->currentIndex() == 0);
    loading_ = was;
}

void ProgramSettingsScreen::onSelector(int position, int index) {
    if (loading_) return;
    RunGuarded(ui_, [&] {
        const CmsSetChange change = ChangeCmsSetSelector(db_, session_, ui_, position, index);
        showCmsSet(change.cms_set);
    });
}

void ProgramSettingsScreen::loadSchedule() {
    const auto& s = settings_.schedules[static_cast<std::size_t>(service_->currentIndex())];
    for (int i = 0; i < kAutoDayCount; ++i)
        days_[static_cast<std::size_t>(i)]->setCurrentIndex(s.days[static_cast<std::size_t>(i)]);
    target_->setCurrentIndex(s.target);
}

void ProgramSettingsScreen::apply() {
    RunGuarded(ui_, [&] {
        ApplyInput in;
        in.fileback = S(fileback_->text());
        in.excel = S(excel_->text());
        in.tolvex = S(tolvex_->text());
        in.service = static_cast<AutoService>(service_->currentIndex());
        for (int i = 0; i < kAutoDayCount; ++i)
            in.days[static_cast<std::size_t>(i)] =
                days_[static_cast<std::size_t>(i)]->currentIndex();
        in.target = target_->currentIndex();
        in.month_max = S(monthMax_->text());
        in.sendname = S(sendname_->text());
        if (ApplyProgramSettings(db_, session_, *ini_, ui_, in)) {
            const int service = service_->currentIndex();
            load();
            service_->setCurrentIndex(service);
        }
    });
}

}  // namespace qx::ui
