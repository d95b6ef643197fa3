// The row most list screens open with: a caption, two dates with "~"
// between them, and the list button.
#pragma once

#include <QString>

class QDateEdit;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace qx::ui {

// A calendar date box showing yyyy-MM-dd, named for tests and screenshots.
QDateEdit* NewDateBox(QWidget* parent, const char* name);

struct PeriodRow {
    QHBoxLayout* row = nullptr;  // add it to the screen's layout
    QDateEdit* from = nullptr;   // "dtpFrom"
    QDateEdit* to = nullptr;     // "dtpTo"
};
// The caption and the two dates; the caller adds what follows them.
PeriodRow NewPeriodRow(QWidget* parent, const QString& caption);

// The "조회" button ("cmdList") added to `row`.
QPushButton* AddListButton(QHBoxLayout* row, QWidget* parent);

}  // namespace qx::ui
