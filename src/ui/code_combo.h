// Drop-down lists filled from the code lists.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "db/code_lists.h"

class QComboBox;

namespace qx::ui {

// Clears the list, adds `firstEntry` when it is not empty (e.g. "전체"), then
// each entry's text with its code as the item's data; selects the first.
void FillCodeCombo(QComboBox* combo, const std::vector<CodeEntry>& entries,
                   const QString& firstEntry = QString());

// Selects the entry whose text equals `value`; an empty value selects the
// first entry.
void SelectComboItem(QComboBox* combo, const QString& value);

}  // namespace qx::ui
