#include "ui/period_row.h"

#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "db/business_days.h"
#include "db/server_clock.h"
#include "ui/gui_interaction.h"

namespace qx::ui {

QDateEdit* NewDateBox(QWidget* parent, const char* name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setCalendarPopup(true);
    d->setDisplayFormat("yyyy-MM-dd");
    return d;
}

PeriodRow NewPeriodRow(QWidget* parent, const QString& caption) {
    PeriodRow p;
    p.row = new QHBoxLayout;
    p.row->addWidget(new QLabel(caption, parent));
    p.from = NewDateBox(parent, "dtpFrom");
    p.to = NewDateBox(parent, "dtpTo");
    p.row->addWidget(p.from);
    p.row->addWidget(new QLabel(QStringLiteral("~"), parent));
    p.row->addWidget(p.to);
    return p;
}

PeriodRow AddListPeriodRow(QBoxLayout* layout, QWidget* parent, const QString& caption) {
    PeriodRow p = NewPeriodRow(parent, caption);
    p.list = AddListButton(p.row, parent);
    p.row->addStretch(1);
    layout->addLayout(p.row);
    return p;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QPushButton* AddListButton(QHBoxLayout* row, QWidget* parent) {
    auto* list = NewButton(parent, "cmdList", QStringLiteral("조회"));
    row->addWidget(list);
    return list;
}

QDate ServerQDate(Database& db, SessionContext& session) {
    const auto today = ParseDate(ReadServerDate(db, session));
    return today ? ToQDate(*today) : QDate::currentDate();
}

}  // namespace qx::ui
