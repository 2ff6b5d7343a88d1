// The translations, built from translations/*.ts into the program's resources.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/translations.h"

#include "base/texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace tazen {

namespace {

// The standard buttons of TaZEN's boxes, for the languages Qt 6 has no catalogue of its own in (Swedish): Qt's
// translations are installed after TaZEN's, so where Qt has them they answer first.
[[maybe_unused]] constexpr const char* kStandardButtons[] = {
    QT_TRANSLATE_NOOP("QPlatformTheme", "OK"), QT_TRANSLATE_NOOP("QPlatformTheme", "Cancel"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "&Yes"), QT_TRANSLATE_NOOP("QPlatformTheme", "&No"),
    QT_TRANSLATE_NOOP("QPlatformTheme", "Abort")};

std::string translatedText(const MarkedText& text)
{
    return QCoreApplication::translate(text.context, text.source).toStdString();
}

// Qt's translations of its own texts: qtbase for the languages Qt 6 has it in, else the older complete catalogue.
void installQtTranslation(const QLocale& language)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"), folder) ||
        translator->load(language, QStringLiteral("qt"), QStringLiteral("_"), folder))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QString InstallTranslations(const QLocale& locale)
{
    auto* own = new QTranslator(QCoreApplication::instance());
    if (!own->load(locale, QStringLiteral("tazen"), QStringLiteral("_"), QStringLiteral(":/translations"))) {
        delete own;
        return {};
    }
    QCoreApplication::installTranslator(own);
    QString language = own->language();
    installQtTranslation(QLocale(language));
    TranslateTextsWith(&translatedText);
    return language;
}

} // namespace tazen
