#include "ui/code_combo.h"

#include <QComboBox>

namespace qx::ui {

void FillCodeCombo(QComboBox* combo, const std::vector<CodeEntry>& entries,
                   const QString& firstEntry) {
    combo->clear();
    if (!firstEntry.isEmpty()) combo->addItem(firstEntry, QString());
    for (const auto& e : entries) {
        combo->addItem(QString::fromStdString(e.text), QString::fromStdString(e.data));
    }
    if (combo->count() > 0) combo->setCurrentIndex(0);
}

void SelectComboItem(QComboBox* combo, const QString& value) {
    combo->setProperty("remembered", value);
    if (value.isEmpty()) {
        if (combo->count() > 0) combo->setCurrentIndex(0);
        return;
    }
    const int i = combo->findText(value);
    if (i >= 0) combo->setCurrentIndex(i);
}

}  // namespace qx::ui
