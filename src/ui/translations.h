// The window in the user's language: TaZEN's own translations, Qt's for its standard buttons and dialogs, and
// the engine's texts through the same translations.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocale>
#include <QString>

namespace tazen {

// The languages TaZEN has translations for, by their ISO 639 codes.
inline constexpr const char* kTranslatedLanguages[] = {"de", "en", "es", "fr", "sv"};

// Installs the translations for the first of locale's user-interface languages (from LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG) that TaZEN has; none for a locale without one, such as C, which shows the texts as
// they are written. Returns the language chosen, or an empty text. Call it once the application exists and
// before the first window is made.
QString InstallTranslations(const QLocale& locale = QLocale());

} // namespace tazen
