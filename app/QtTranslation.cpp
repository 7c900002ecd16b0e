#include "app/QtTranslation.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace karvel {

bool LoadQtTranslation(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace karvel
