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

PeriodRow NewListPeriodRow(QWidget* parent, const QString& caption) {
    PeriodRow p = NewPeriodRow(parent, caption);
    p.list = AddListButton(p.row, parent);
    p.row->addStretch(1);
    return p;
}

QPushButton* AddListButton(QHBoxLayout* row, QWidget* parent) {
    auto* list = new QPushButton(QStringLiteral("조회"), parent);
    list->setObjectName("cmdList");
    row->addWidget(list);
    return list;
}

QDate ServerQDate(Database& db, SessionContext& session) {
    const auto today = ParseDate(ReadServerDate(db, session));
    return today ? ToQDate(*today) : QDate::currentDate();
}

}  // namespace qx::ui
