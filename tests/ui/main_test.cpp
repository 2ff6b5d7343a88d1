// The main window as it starts.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main.h"

#include <gtest/gtest.h>

namespace tazen {
namespace {

TEST(MainWindow, StartsTitledTaZENWithAWipedCipher)
{
    TForm1 form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TaZEN"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.Blowfish1().Initialized());
}

} // namespace
} // namespace tazen
