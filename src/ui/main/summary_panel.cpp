#include "ui/main/summary_panel.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/cms_summary.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

namespace {

QPushButton* QuickButton(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    return b;
}

}  // namespace

SummaryPanel::SummaryPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("pnlLeft");
    setFixedWidth(250);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* summary = new QGroupBox(QStringLiteral("CMS 요약"), this);
    auto* grid = new QGridLayout(summary);
    month_ = new QLabel(summary);
    month_->setObjectName("lblRegularMonth");
    grid->addWidget(month_, 0, 0, 1, 2);
    const QString captions[4] = {QStringLiteral("정기 미수금"), QStringLiteral("이월 미수금"),
                                 QStringLiteral("매출 예정액(미등록)"),
                                 QStringLiteral("월 예상 매출액")};
    for (int i = 0; i < 4; ++i) {
        figures_[i] = new QLabel(QStringLiteral("0"), summary);
        figures_[i]->setObjectName(QStringLiteral("lblFigure%1").arg(i));
        figures_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        QFont f = figures_[i]->font();
        f.setBold(true);
        figures_[i]->setFont(f);
        grid->addWidget(new QLabel(captions[i], summary), i + 1, 0);
        grid->addWidget(figures_[i], i + 1, 1);
    }
    auto* refresh = new QPushButton(QStringLiteral("요약 다시 읽기"), summary);
    refresh->setObjectName("cmdSummary");
    grid->addWidget(refresh, 5, 0, 1, 2);
    layout->addWidget(summary);

    auto* eb11Box = new QGroupBox(QStringLiteral("EB11 (은행접수분)"), this);
    auto* eb11Layout = new QVBoxLayout(eb11Box);
    eb11_ = new QFrame(eb11Box);
    eb11_->setObjectName("pnlEb11");
    eb11_->setFrameShape(QFrame::StyledPanel);
    eb11_->setCursor(Qt::PointingHandCursor);
    eb11_->setToolTip(Q(kEb11Legend));
    eb11_->installEventFilter(this);
    auto* inner = new QVBoxLayout(eb11_);
    eb11Caption_ = new QLabel(eb11_);
    eb11Caption_->setObjectName("lblEb11Caption");
    QFont cf = eb11Caption_->font();
    cf.setBold(true);
    eb11Caption_->setFont(cf);
    eb11Check_ = new QLabel(eb11_);
    eb11Check_->setObjectName("lblEb11Check");
    eb11Check_->setWordWrap(true);
    eb11File_ = new QLabel(eb11_);
    eb11File_->setObjectName("lblEb11File");
    inner->addWidget(eb11Caption_);
    inner->addWidget(eb11Check_);
    inner->addWidget(eb11File_);
    eb11Layout->addWidget(eb11_);
    layout->addWidget(eb11Box);

    auto* quick = new QGroupBox(QStringLiteral("바로가기"), this);
    auto* quickLayout = new QVBoxLayout(quick);
    auto* members = QuickButton(QStringLiteral("고객 조회"), "cmdQuickMembers", quick);
    auto* newMember = QuickButton(QStringLiteral("신규 등록"), "cmdQuickNewMember", quick);
    auto* remote = QuickButton(QStringLiteral("원격지원"), "cmdQuickRemote", quick);
    quickLayout->addWidget(members);
    quickLayout->addWidget(newMember);
    quickLayout->addWidget(remote);
    layout->addWidget(quick);
    layout->addStretch(1);

    connect(refresh, &QPushButton::clicked, this, &SummaryPanel::refreshRequested);
    connect(members, &QPushButton::clicked, this, [this] { emit menuRequested(20, 0); });
    connect(newMember, &QPushButton::clicked, this, [this] { emit menuRequested(20, 1); });
    connect(remote, &QPushButton::clicked, this, &SummaryPanel::remoteSupportRequested);
}

void SummaryPanel::showSummary(const CmsSummary& f, const QString& regularMonth) {
    month_->setText(QStringLiteral("기준월 : ") + regularMonth);
    const long long values[4] = {f.regular_outstanding, f.arrears_outstanding, f.sales_to_book,
                                 f.expected_monthly_sales};
    for (int i = 0; i < 4; ++i) figures_[i]->setText(Q(FormatAmount(values[i])));
}

void SummaryPanel::showEb11(const Eb11Status& status) {
    eb11Caption_->setText(Q(status.caption));
    eb11Check_->setText(Q(status.checkText));
    eb11Check_->setVisible(!status.checkText.empty());
    eb11File_->setText(Q(status.newestFile));
    eb11Highlighted_ = status.highlighted;
    eb11_->setStyleSheet(status.highlighted ? "#pnlEb11 { background: #ffe9a8; }" : QString());
}

QString SummaryPanel::figureText(int index) const {
    return index >= 0 && index < 4 ? figures_[index]->text() : QString();
}

QString SummaryPanel::eb11FileText() const {
    return eb11File_->text();
}

QString SummaryPanel::eb11CheckText() const {
    return eb11Check_->text();
}

bool SummaryPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == eb11_ && event->type() == QEvent::MouseButtonRelease) {
        emit eb11Clicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qx::ui
