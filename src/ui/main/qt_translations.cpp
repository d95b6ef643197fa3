#include "ui/main/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace qx::ui {

bool InstallKoreanQtTranslations(QCoreApplication& app) {
    // Lives as long as the application: a removed translator takes its texts along.
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ko"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace qx::ui
