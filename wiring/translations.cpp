#include "wiring/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace deskleaf {

namespace {

bool install(QCoreApplication& app, const QLocale& locale, const QString& name,
             const QString& folder)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(locale, name, QStringLiteral("_"), folder)) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace

bool installTranslations(QCoreApplication& app, const QLocale& locale)
{
    // The program's own, built in (translations/deskleaf_*.ts).
    const bool own = install(app, locale, QStringLiteral("deskleaf"), QStringLiteral(":/i18n"));
    const bool qt = install(app, locale, QStringLiteral("qtbase"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return own || qt;
}

} // namespace deskleaf
