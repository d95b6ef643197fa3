#include "ui/settings/program_settings_screen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/session_context.h"
#include "platform/interaction.h"
#include "platform/profile_ini.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

QComboBox* Combo(const std::vector<std::string>& entries, const QString& name) {
    auto* c = new QComboBox;
    c->setObjectName(name);
    for (const auto& e : entries) c->addItem(Q(e));
    return c;
}

QLabel* Note(const char* text) {
    auto* l = new QLabel(Q(text));
    l->setWordWrap(true);
    l->setStyleSheet("color: #a33;");
    return l;
}

QCheckBox* Check(const char* caption, const QString& name) {
    auto* box = new QCheckBox(Q(caption));
    box->setObjectName(name);
    return box;
}

}  // namespace

ProgramSettingsScreen::ProgramSettingsScreen(Database& db, SessionContext& session, Interaction& ui,
                                             QWidget* parent)
    : DomainScreen(db, session, ui, kScreenId, Q(kSettingsTitle), parent),
      ini_(std::make_unique<ProfileIni>(session.AppPath + "Login.ini")) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* body = new QWidget;
    auto* columns = new QHBoxLayout(body);
    columns->setContentsMargins(0, 0, 6, 0);
    scroll->setWidget(body);
    outer->addWidget(scroll, 1);

    // Institution-wide switches: written as soon as a selector changes.
    auto* left = new QVBoxLayout;
    auto* cmsBox = new QGroupBox(QStringLiteral("CMS 청구 / 출금 설정"));
    auto* cmsForm = new QFormLayout(cmsBox);
    for (const auto& sel : CmsSetSelectors()) {
        if (sel.position == kPosItems) continue;
        auto* combo = Combo(sel.entries, QStringLiteral("cmsSet%1").arg(sel.position));
        selectors_[sel.position] = combo;
        cmsForm->addRow(Q(sel.caption), combo);
        const int position = sel.position;
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, position](int index) { onSelector(position, index); });
    }
    // Ticked means items are not used: position 15 is stored inverted.
    itemsUnused_ = Check(kItemsUnusedCaption, "itemsUnused");
    cmsForm->addRow(itemsUnused_);
    connect(itemsUnused_, &QCheckBox::toggled, this,
            [this](bool on) { onSelector(kPosItems, on ? 0 : 1); });
    left->addWidget(cmsBox);

    auto* institutionBox = new QGroupBox(QStringLiteral("기관 설정"));
    auto* institutionForm = new QFormLayout(institutionBox);
    monthDivide_ = Combo({"금월", "전월"}, "monthDivide");
    institutionForm->addRow(QStringLiteral("정기분 선택"), monthDivide_);
    connect(monthDivide_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (loading_) return;
        run([&] {
            SetMonthDivide(db_, session_, index == 0);
            showCmsSet(LoadProgramSettings(db_, session_).cms_set);
        });
    });
    virtualAccount_ = Combo({"신규등록시 자동등록", "관리자 지정 등록"}, "virtualAccount");
    institutionForm->addRow(QStringLiteral("가상계좌 등록방식"), virtualAccount_);
    connect(virtualAccount_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!loading_) run([&] { SetVirtualAccountMode(db_, session_, index); });
    });
    auto addSwitch = [&](const char* caption, const char* name, InstitutionSwitch which) {
        auto* box = Check(caption, name);
        institutionForm->addRow(box);
        connect(box, &QCheckBox::toggled, this, [this, which](bool on) {
            if (!loading_) run([&] { SetInstitutionSwitch(db_, session_, which, on); });
        });
        return box;
    };
    instalmentCancel_ = addSwitch("할부완납시 회원상태 자동 해지 처리", "instalmentCancel",
                                  InstitutionSwitch::kInstalmentAutoCancel);
    ignoreLedger_ = addSwitch("출금신청시 정기분 원장매출 무시하고 일괄매출 발생", "ignoreLedger",
                              InstitutionSwitch::kIgnoreLedgerSales);
    excludeLater_ = addSwitch("출금신청시 생성일자 이후 매출 자동제외", "excludeLater",
                              InstitutionSwitch::kExcludeLaterSales);
    readOnly_ = new QLabel;
    readOnly_->setObjectName("readOnlyInfo");
    readOnly_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    institutionForm->addRow(readOnly_);
    left->addWidget(institutionBox);
    left->addStretch();
    columns->addLayout(left, 1);

    // Desktop switches and the settings written by the apply button.
    auto* right = new QVBoxLayout;
    auto* deskBox = new QGroupBox(QStringLiteral("프로그램 환경 (이 컴퓨터)"));
    auto* deskLayout = new QVBoxLayout(deskBox);
    for (int i = 0; i < 6; ++i) {
        auto*& box = desktop_[static_cast<std::size_t>(i)];
        box = Check(DesktopSwitchCaption(i), DesktopSwitchKey(i));
        deskLayout->addWidget(box);
        connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
            if (loading_) return;
            run([&] {
                if (!SetDesktopSwitch(session_, *ini_, i, on))
                    ui_.inform(kLoginIniWriteFailedText, kDefaultTitle);
            });
        });
    }
    frozenColumns_ = new QSpinBox;
    frozenColumns_->setObjectName("FIXINGCOL");
    frozenColumns_->setRange(0, 20);
    auto* frozenRow = new QHBoxLayout;
    frozenRow->addWidget(new QLabel(QStringLiteral("회원정보 틀고정수")));
    frozenRow->addWidget(frozenColumns_);
    frozenRow->addStretch();
    deskLayout->addLayout(frozenRow);
    connect(frozenColumns_, &QSpinBox::valueChanged, this, [this](int v) {
        if (loading_) return;
        run([&] {
            if (!SetFrozenColumns(session_, *ini_, v))
                ui_.inform(kLoginIniWriteFailedText, kDefaultTitle);
        });
    });
    right->addWidget(deskBox);

    auto* folderBox = new QGroupBox(QStringLiteral("폴더"));
    auto* folderForm = new QFormLayout(folderBox);
    fileback_ = folderRow(folderForm, "CMS파일 백업폴더", "FILEBACK");
    excel_ = folderRow(folderForm, "엑셀저장 폴더", "EXCEL");
    tolvex_ = folderRow(folderForm, "송신프로그램 폴더", "TOLVEX");
    right->addWidget(folderBox);

    auto* autoBox = new QGroupBox(QStringLiteral("자동출금"));
    auto* autoForm = new QFormLayout(autoBox);
    service_ = new QComboBox;
    service_->setObjectName("autoService");
    for (const char* name : kAutoServiceNames) service_->addItem(Q(name));
    autoForm->addRow(QStringLiteral("자동출금 서비스 선택"), service_);
    auto* dayRow = new QHBoxLayout;
    for (std::size_t i = 0; i < days_.size(); ++i) {
        auto*& combo = days_[i];
        combo = new QComboBox;
        combo->setObjectName(QStringLiteral("autoDay%1").arg(i + 1));
        combo->addItem(QStringLiteral("선택"));
        for (int d = 1; d <= kAutoDayLastEntry; ++d)
            combo->addItem(QString::number(d) + QStringLiteral("일"));
        dayRow->addWidget(combo);
    }
    autoForm->addRow(QStringLiteral("자동출금 처리일자"), dayRow);
    target_ = new QComboBox;
    target_->setObjectName("autoTarget");
    for (const char* name : kAutoTargetNames) target_->addItem(Q(name));
    autoForm->addRow(QStringLiteral("자동출금 처리대상"), target_);
    autoNote_ = Note(kAutoWithdrawalNotAutomaticText);
    autoForm->addRow(autoNote_);
    connect(service_, &QComboBox::currentIndexChanged, this, [this](int) { loadSchedule(); });
    right->addWidget(autoBox);

    auto* otherBox = new QGroupBox(QStringLiteral("기타"));
    auto* otherForm = new QFormLayout(otherBox);
    monthMax_ = new QLineEdit;
    monthMax_->setObjectName("monthMax");
    monthMax_->setMaximumWidth(80);
    otherForm->addRow(QStringLiteral("신규등록시 월청구 제한 기본값"), monthMax_);
    otherForm->addRow(Note("※ 0인 경우 제한 하지 않습니다."));
    otherForm->addRow(Note("※ 본사, 지점, 대리점 각각 별도 지정"));
    sendname_ = new QLineEdit;
    sendname_->setObjectName("sendname");
    sendname_->setMaxLength(64);
    otherForm->addRow(QStringLiteral("회   사   명"), sendname_);
    right->addWidget(otherBox);

    auto* applyButton = new QPushButton(QStringLiteral("적용"));
    applyButton->setObjectName("applyButton");
    connect(applyButton, &QPushButton::clicked, this, [this] { apply(); });
    right->addStretch();
    columns->addLayout(right, 1);
    // The apply button stays in sight however far the settings are scrolled.
    auto* applyRow = new QHBoxLayout;
    // The note wraps in a narrow window so that the button keeps its place.
    auto* applyNote = new QLabel(
        QStringLiteral("※ 폴더, 자동출금, 월청구 제한, 회사명은 [적용]을 눌러야 저장됩니다."));
    applyNote->setWordWrap(true);
    applyRow->addWidget(applyNote, 1);
    applyRow->addWidget(applyButton);
    outer->addLayout(applyRow);

    run([this] { load(); });
}

QLineEdit* ProgramSettingsScreen::folderRow(QFormLayout* form, const char* caption,
                                            const char* name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    auto* browse = new QPushButton(QStringLiteral("..."));
    browse->setFixedWidth(32);
    auto* row = new QHBoxLayout;
    row->addWidget(edit, 1);
    row->addWidget(browse);
    form->addRow(Q(caption), row);
    const std::string label = caption;
    connect(browse, &QPushButton::clicked, this, [this, edit, label] {
        const std::string chosen = ui_.chooseFolder(label, S(edit->text()));
        if (!chosen.empty()) edit->setText(Q(chosen));
    });
    return edit;
}

void ProgramSettingsScreen::load() {
    // Billing the previous month leaves no room for automatic sales.
    ForceAutoSalesOffForPreviousMonth(db_, session_);
    loading_ = true;
    settings_ = LoadProgramSettings(db_, session_);
    monthDivide_->setCurrentIndex(settings_.month_current ? 0 : 1);
    virtualAccount_->setCurrentIndex(settings_.vir_prgcre);
    instalmentCancel_->setChecked(settings_.installment_chk_use);
    ignoreLedger_->setChecked(settings_.ignorenonpay_use);
    excludeLater_->setChecked(settings_.checkexcept_use);
    for (std::size_t i = 0; i < desktop_.size(); ++i)
        desktop_[i]->setChecked(session_.prgstat[i] != 0);
    frozenColumns_->setValue(session_.fixing_columns);
    fileback_->setText(Q(session_.fileback_folder));
    excel_->setText(Q(session_.excel_folder));
    tolvex_->setText(Q(session_.tolvex_folder));
    monthMax_->setText(QString::number(settings_.month_max));
    sendname_->setText(Q(settings_.sendname));
    readOnly_->setText(
        Q("통장기재명: " + settings_.account_title + "\n자동출금 구분: " + settings_.settle_div +
          "\n금결원 자동출금: " + settings_.kftc_auto_use + " " + settings_.kftc_autofileflags));
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
    selectors_[kPosAutoSales]->setEnabled(monthDivide_->currentIndex() == 0);
    autoNote_->setVisible(CmsSetDigit(cmsSet, kPosAutoWithdrawalMethod) != kAutoFileCreation);
    loading_ = was;
}

void ProgramSettingsScreen::onSelector(int position, int index) {
    if (loading_) return;
    run([&] {
        const CmsSetChange change = ChangeCmsSetSelector(db_, session_, ui_, position, index);
        showCmsSet(change.cms_set);
    });
}

void ProgramSettingsScreen::loadSchedule() {
    const auto& s = settings_.schedules[static_cast<std::size_t>(service_->currentIndex())];
    for (std::size_t i = 0; i < days_.size(); ++i) days_[i]->setCurrentIndex(s.days[i]);
    target_->setCurrentIndex(s.target);
}

void ProgramSettingsScreen::apply() {
    run([&] {
        ApplyInput in;
        in.fileback = S(fileback_->text());
        in.excel = S(excel_->text());
        in.tolvex = S(tolvex_->text());
        in.service = static_cast<AutoService>(service_->currentIndex());
        for (std::size_t i = 0; i < days_.size(); ++i) in.days[i] = days_[i]->currentIndex();
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
