// Qt's own Korean texts for its standard buttons and dialogs (예/아니오,
// 확인/취소, the file dialog's captions).
#pragma once

class QCoreApplication;

namespace qx::ui {

// Loads qtbase_ko from Qt's translation folder into the application; false
// when the file is not installed (the buttons then stay in English).
bool InstallKoreanQtTranslations(QCoreApplication& app);

}  // namespace qx::ui
