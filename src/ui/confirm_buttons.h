// The 확인/취소 row of the small password dialogs.
#pragma once

#include <functional>

class QBoxLayout;
class QDialog;

namespace qx::ui {

// Adds 확인 (cmdOk, runs `onOk`) and 취소 (cmdCancel, rejects) at the right of
// `layout`. Neither is a default button: Enter acts only through the text
// box's own handler.
void AddConfirmButtons(QDialog* dialog, QBoxLayout* layout, const std::function<void()>& onOk);

}  // namespace qx::ui
