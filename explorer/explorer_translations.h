#pragma once

#include <QLocale>

class QCoreApplication;

namespace veltrano::explorer {

// Installs the Explorer's catalogue for `locale` (Italian or English; any
// other language gets the English texts). True when a catalogue was loaded.
bool installTranslations(QCoreApplication& app, const QLocale& locale = QLocale());

}  // namespace veltrano::explorer
