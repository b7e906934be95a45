#include "platform/report/window_support.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pordex::report {

QString caption(const Captions& captions, const QString& english) {
    for (const auto& [from, to] : captions)
        if (from == english) return to;
    return english;
}

bool installQtRussian() {
    static QTranslator* translator = nullptr;
    if (translator) return true;
    auto* t = new QTranslator(QCoreApplication::instance());
    if (!t->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"),
                 QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete t;
        return false;
    }
    QCoreApplication::installTranslator(t);
    translator = t;
    return true;
}

}  // namespace pordex::report
