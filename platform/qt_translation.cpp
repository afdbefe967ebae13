#include "platform/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <cstdio>

namespace platform {

namespace {

constexpr const char* kCatalogue = "qtbase_uk";

// The installed catalogue; it belongs to the application and goes with it.
QPointer<QTranslator> g_translator;

}  // namespace

bool installQtTranslation()
{
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        std::fprintf(stderr, "Qt's translation %s: no application to install it on\n", kCatalogue);
        return false;
    }
    if (g_translator)
        return true;
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(application);
    if (!translator->load(QString::fromLatin1(kCatalogue), folder) ||
        !QCoreApplication::installTranslator(translator)) {
        std::fprintf(stderr, "Qt's translation %s cannot be read from %s\n", kCatalogue,
                     folder.toLocal8Bit().constData());
        delete translator;
        return false;
    }
    g_translator = translator;
    return true;
}

}  // namespace platform
