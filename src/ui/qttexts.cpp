// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qttexts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace barovista {

bool loadQtTexts(QTranslator &translator)
{
    const QLocale german(QLocale::German);
    const QString name = QStringLiteral("qtbase");
    const QString separator = QStringLiteral("_");
    return translator.load(german, name, separator, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
           || translator.load(german, name, separator, QStringLiteral(":/translations"));
}

} // namespace barovista
