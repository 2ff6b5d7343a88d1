// The about box's system texts and links, and the help command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about.h"

#include "common/tempdir.h"
#include "platform/folders.h"
#include "ui/layout_check.h"
#include "ui/scripted_interaction.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <sys/utsname.h>

namespace tazen {
namespace {

using test::ScriptedInteraction;

TEST(AboutBox, MemoryTextPutsOneSpaceBeforeTheLastThreeDigits)
{
    EXPECT_EQ(MemoryText(524288), "524 288 KB");
    EXPECT_EQ(MemoryText(1000), "1 000 KB");
    EXPECT_EQ(MemoryText(999), " 999 KB");
    EXPECT_EQ(MemoryText(0), " 0 KB");
}

TEST(AboutBox, ShowingItFillsInTheSystemAndItsMemory)
{
    ScriptedInteraction interaction;
    TAboutBox box(interaction);
    box.show();
    EXPECT_EQ(box.lblPlatform().text(), "Linux");
    struct utsname names
    {
    };
    ASSERT_EQ(::uname(&names), 0);
    const auto release =
        QRegularExpression(QStringLiteral("^(\\d+)\\.(\\d+)(?:\\.(\\d+))?")).match(QString::fromLatin1(names.release));
    ASSERT_TRUE(release.hasMatch()) << names.release;
    const QString build = release.captured(3).isEmpty() ? QStringLiteral("0") : release.captured(3);
    EXPECT_EQ(box.lblOS().text(), release.captured(1) + "." + release.captured(2) + " (Build " + build + ")");
    EXPECT_NE(box.lblAddInfo().text(), "lblAddInfo");
    const QRegularExpression memory(QStringLiteral("^\\d* \\d{1,3} KB$"));
    EXPECT_TRUE(memory.match(box.lblTotMem().text()).hasMatch()) << box.lblTotMem().text().toStdString();
    EXPECT_TRUE(memory.match(box.lblAvailMem().text()).hasMatch()) << box.lblAvailMem().text().toStdString();

    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    test::expectNothingCutOff(box);
    box.OKButton().click();
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, TheLinksGoToTheShellAndFailQuietly)
{
    ScriptedInteraction interaction;
    interaction.shellSucceeds = false;
    TAboutBox box(interaction);
    box.show();
    QTest::mouseClick(&box.Label5(), Qt::LeftButton);
    QTest::mouseClick(&box.Label9(), Qt::LeftButton);
    EXPECT_EQ(interaction.shellOpened,
              (std::vector<QString>{QStringLiteral("mailto:tazen@codeberg.org"),
                                    QStringLiteral("https://codeberg.org/tazen/tazen/releases")}));
    EXPECT_TRUE(interaction.boxes.empty());
}

TEST(HelpFile, OpensBesideTheProgramOrSaysWhichPathFailed)
{
    test::TempDir folder;
    platform::SetExecutableFolderForTesting(folder.path());
    const QString path = QString::fromStdString(folder / "help_en.html");
    ScriptedInteraction interaction;
    OpenHelpFile(interaction, nullptr);
    EXPECT_TRUE(interaction.boxes.empty());

    interaction.shellSucceeds = false;
    OpenHelpFile(interaction, nullptr);
    platform::SetExecutableFolderForTesting("");
    EXPECT_EQ(interaction.shellOpened, (std::vector<QString>{path, path}));
    ASSERT_EQ(interaction.boxes.size(), 1u);
    EXPECT_EQ(interaction.boxes[0].kind, BoxKind::Plain);
    EXPECT_EQ(interaction.boxes[0].text, "Could not open helpfile: " + path);
}

// The desktop's opener reports success as soon as it starts, so a help file that is not there must fail
// before it is asked.
TEST(HelpFile, TheDesktopIsNotAskedForAFileThatCannotBeRead)
{
    test::TempDir folder;
    DesktopInteraction desktop;
    EXPECT_FALSE(desktop.ShellOpen(QString::fromStdString(folder / "help_en.html")));
    std::filesystem::create_directory(folder / "help_en.html");
    EXPECT_FALSE(desktop.ShellOpen(QString::fromStdString(folder / "help_en.html")));
}

} // namespace
} // namespace tazen
