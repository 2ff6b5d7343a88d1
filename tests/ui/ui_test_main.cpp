// Runs the window tests under Qt's offscreen platform, so no display is needed, with a runtime folder of
// their own, so a TaZEN the developer is running never takes a test for its second instance, a cache folder
// of their own, and the DejaVu fonts alone, so the machine's fonts never decide whether a text fits.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/tempdir.h"

#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const tazen::test::TempDir runtime;
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    const tazen::test::TempDir cache;
    ::setenv("XDG_CACHE_HOME", cache.path().c_str(), 1);
#ifdef TAZEN_TEST_FONTS_CONF
    ::setenv("FONTCONFIG_FILE", TAZEN_TEST_FONTS_CONF, 1);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // Numbers as no locale writes them, whatever the machine's is; the translation tests choose their own.
    QLocale::setDefault(QLocale::c());
    return RUN_ALL_TESTS();
}
