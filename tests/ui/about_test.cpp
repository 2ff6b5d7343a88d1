// The about box's system texts and links, and the help command.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about.h"

#include "common/tempdir.h"
#include "platform/folders.h"
#include "ui/helpwindow.h"
#include "ui/layout_check.h"
#include "ui/scripted_interaction.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include <filesystem>
#include <tuple>

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
    // The kernel release's numbers come from the parser, tested on fixed releases in the platform's tests.
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+ \\(Build \\d+\\)$")).match(box.lblOS().text()).hasMatch())
        << box.lblOS().text().toStdString();
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

// Where the opener fails, the help file of the interface's language opens in TaZEN's own window, whose
// links to other addresses go to the opener.
TEST(HelpFile, AFailingOpenerShowsTheHelpOfTheLanguageInTheHelpWindow)
{
    test::TempDir folder;
    platform::SetExecutableFolderForTesting(folder.path());
    test::writeFile(folder / "help_en.html", "<html><head><title>TaZEN Help</title></head><body>Help</body></html>");
    test::writeFile(folder / "help_de.html", "<html><head><title>TaZEN-Hilfe</title></head><body>Hilfe</body></html>");
    const QLocale before;
    for (const auto& [locale, file, title] : std::initializer_list<std::tuple<QLocale, const char*, const char*>>{
             {QLocale(QLocale::German, QLocale::Austria), "help_de.html", "TaZEN-Hilfe"},
             {QLocale(QLocale::French, QLocale::France), "help_en.html", "TaZEN Help"}}) {
        QLocale::setDefault(locale);
        ScriptedInteraction interaction;
        interaction.shellSucceeds = false;
        QWidget owner;
        OpenHelpFile(interaction, &owner);
        EXPECT_EQ(interaction.shellOpened, std::vector<QString>{QString::fromStdString(folder / file)}) << file;
        EXPECT_TRUE(interaction.boxes.empty());
        auto* help = owner.findChild<THelpWindow*>();
        ASSERT_NE(help, nullptr) << file;
        EXPECT_TRUE(help->isVisible() && help->isWindow());
        EXPECT_EQ(help->windowTitle(), QString::fromLatin1(title));
        EXPECT_TRUE(help->Browser().isReadOnly());

        emit help->Browser().anchorClicked(QUrl(QStringLiteral("https://codeberg.org/tazen/tazen")));
        EXPECT_EQ(interaction.shellOpened.back(), "https://codeberg.org/tazen/tazen");
        EXPECT_EQ(help->windowTitle(), QString::fromLatin1(title)) << "the help stays where it was";
    }
    QLocale::setDefault(before);
    platform::SetExecutableFolderForTesting("");
}

// A help file that is not there fails before the opener is asked; otherwise the opener's exit status
// decides, so an opener that finds no program for the file fails too.
TEST(HelpFile, TheOpenersExitStatusDecides)
{
    test::TempDir folder;
    const QString help = QString::fromStdString(folder / "help_en.html");
    EXPECT_FALSE(DesktopInteraction(QStringLiteral("true")).ShellOpen(help)) << "not there";
    std::filesystem::create_directory(folder / "help_en.html");
    EXPECT_FALSE(DesktopInteraction(QStringLiteral("true")).ShellOpen(help)) << "a folder";
    std::filesystem::remove(folder / "help_en.html");
    test::writeFile(folder / "help_en.html", "<html></html>");

    // The opener writes down what it was given, then ends with the status the case asks for.
    const std::string opener = folder / "opener";
    test::writeFile(opener, "#!/bin/sh\nprintf '%s' \"$1\" > \"$0.got\"\nexit \"$(cat \"$0.status\")\"\n");
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    // 3 is what xdg-open gives when no program is associated with the file.
    for (const auto& [status, opened] :
         std::initializer_list<std::pair<const char*, bool>>{{"0", true}, {"3", false}}) {
        test::writeFile(opener + ".status", status);
        EXPECT_EQ(DesktopInteraction(QString::fromStdString(opener)).ShellOpen(help), opened) << status;
        EXPECT_EQ(QString::fromStdString(test::readText(opener + ".got")), help);
    }
    EXPECT_FALSE(DesktopInteraction(QString::fromStdString(folder / "no opener")).ShellOpen(help));
}

TEST(AboutBox, LinksStandOutFromTheWindowInADarkThemeToo)
{
    ScriptedInteraction interaction;
    TAboutBox box(interaction);
    const auto linkColour = [&] { return box.Label5().palette().color(box.Label5().foregroundRole()); };
    EXPECT_EQ(linkColour(), QColor(Qt::blue)) << "blue, as described, where it can be read";

    QPalette dark = box.palette();
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Link, QColor(0x5E, 0xB0, 0xFF));
    box.setPalette(dark);
    EXPECT_EQ(linkColour(), QColor(0x5E, 0xB0, 0xFF)) << "the theme's own link colour";

    dark.setColor(QPalette::Link, QColor(Qt::blue));
    box.setPalette(dark);
    EXPECT_GE(ContrastRatio(linkColour(), dark.color(QPalette::Window)), 4.5) << "a theme whose link is blue too";
}

} // namespace
} // namespace tazen
