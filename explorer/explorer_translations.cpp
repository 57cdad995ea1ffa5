#include "explorer_translations.h"

#include <QCoreApplication>
#include <QTranslator>

namespace veltrano::explorer {

bool installTranslations(QCoreApplication& app, const QLocale& locale) {
    auto* translator = new QTranslator(&app);
    if (translator->load(locale, QStringLiteral("explorer"), QStringLiteral("_"), QStringLiteral(":/i18n")) ||
        translator->load(QStringLiteral(":/i18n/explorer_en.qm"))) {
        QCoreApplication::installTranslator(translator);
        return true;
    }
    delete translator;
    return false;
}

}  // namespace veltrano::explorer
