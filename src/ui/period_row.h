// The row most list screens open with: a caption, two dates with "~"
// between them, and the list button.
#pragma once

#include <QDate>
#include <QString>

class QBoxLayout;
class QDateEdit;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace qx {
class Database;
struct SessionContext;
}  // namespace qx

namespace qx::ui {

// A calendar date box showing yyyy-MM-dd, named for tests and screenshots.
QDateEdit* NewDateBox(QWidget* parent, const char* name);

struct PeriodRow {
    QHBoxLayout* row = nullptr;   // add it to the screen's layout
    QDateEdit* from = nullptr;    // "dtpFrom"
    QDateEdit* to = nullptr;      // "dtpTo"
    QPushButton* list = nullptr;  // "cmdList", from AddListPeriodRow only
};
// The caption and the two dates; the caller adds what follows them.
PeriodRow NewPeriodRow(QWidget* parent, const QString& caption);
// The caption, the two dates and the list button, then a stretch, added to
// `layout`: what the caller adds to the row after goes to the right edge.
PeriodRow AddListPeriodRow(QBoxLayout* layout, QWidget* parent, const QString& caption);

// A push button named for tests and screenshots.
QPushButton* NewButton(QWidget* parent, const char* name, const QString& text);

// The "조회" button ("cmdList") added to `row`.
QPushButton* AddListButton(QHBoxLayout* row, QWidget* parent);

// The server's date, which the periods open on; the machine's date only when
// the server answers with something that is not a date.
QDate ServerQDate(Database& db, SessionContext& session);

}  // namespace qx::ui
