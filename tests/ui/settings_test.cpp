// The settings dialog: refusing other algorithms, loading and saving the settings file, and its controls
// as the live settings while there is no file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settingsDlg.h"

#include "common/tempdir.h"
#include "engine/settings.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "ui/layout_check.h"
#include "ui/scripted_interaction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sys/stat.h>

namespace tazen {
namespace {

using test::ScriptedInteraction;

// Chooses an entry from the open list the way a mouse click on it does.
void chooseFromList(QComboBox& list, const QString& entry)
{
    const int index = list.findText(entry);
    ASSERT_GE(index, 0) << entry.toStdString();
    list.setCurrentIndex(index);
    emit list.activated(index);
}

// A settings dialog whose program folder is a fresh temporary one.
class SettingsDialogTest : public ::testing::Test
{
protected:
    SettingsDialogTest() { platform::SetExecutableFolderForTesting(folder.path()); }
    ~SettingsDialogTest() override { platform::SetExecutableFolderForTesting(""); }

    std::string settingsFile() const { return folder / "TaZEN.ini"; }

    // Opens the dialog; inside it, user() plays the user and the dialog closes with what it returns.
    void execute(std::function<int(TSettingsDialog&)> user)
    {
        interaction.modalScripts.push_back(
            [user = std::move(user)](QDialog& shown) { return user(static_cast<TSettingsDialog&>(shown)); });
        dialog.Execute();
        ASSERT_TRUE(interaction.modalScripts.empty());
    }

    test::TempDir folder;
    ScriptedInteraction interaction;
    TSettingsDialog dialog{interaction};
};

int pressOk(TSettingsDialog& shown)
{
    shown.btnOk().click();
    return shown.result();
}

int pressCancel(TSettingsDialog& shown)
{
    shown.btnCancel().click();
    return shown.result();
}

TEST_F(SettingsDialogTest, OtherAlgorithmsAreRefusedWithOneMessageAndTheFirstEntryComesBack)
{
    execute([this](TSettingsDialog& shown) {
        // Loading selected the first entries without a word.
        EXPECT_TRUE(interaction.boxes.empty());
        EXPECT_EQ(shown.cbxFileAlgorithm().currentText(), "Blowfish");

        chooseFromList(shown.cbxFileAlgorithm(), "Twofish");
        EXPECT_EQ(interaction.boxes.size(), 1u);
        EXPECT_EQ(shown.cbxFileAlgorithm().currentIndex(), 0);
        EXPECT_EQ(shown.cbxFileAlgorithm().currentText(), "Blowfish");

        chooseFromList(shown.cbxPassAlgorithm(), "Haval");
        EXPECT_EQ(interaction.boxes.size(), 2u);
        EXPECT_EQ(shown.cbxPassAlgorithm().currentText(), "SHA-1");

        // Each keystroke in the text field is a change.
        QTest::keyClick(shown.cbxFileAlgorithm().lineEdit(), Qt::Key_X);
        EXPECT_EQ(interaction.boxes.size(), 3u);
        EXPECT_EQ(shown.cbxFileAlgorithm().currentIndex(), 0);
        EXPECT_EQ(shown.cbxFileAlgorithm().currentText(), "Blowfish");
        QTest::keyClick(shown.cbxPassAlgorithm().lineEdit(), Qt::Key_Backspace);
        EXPECT_EQ(interaction.boxes.size(), 4u);
        EXPECT_EQ(shown.cbxPassAlgorithm().currentText(), "SHA-1");
        return pressCancel(shown);
    });

    // The three lines exactly as this version words them, with ä å ö and "\n\r" between the lines.
    const auto refusal = [](const char* algorithm, const char* use) {
        return QStringLiteral("Denna version utav TaZEN är begränsad till %1 för %2.\n\r"
                              "Den färdiga versionen kommer att innehålla de listade algoritmerna.\n\r"
                              "Håll utkik efter en uppdatering!")
            .arg(QLatin1String(algorithm), QString::fromUtf8(use));
    };
    const QString blowfish = refusal("Blowfish", "filkryptering");
    const QString sha1 = refusal("SHA-1", "lösenordskryptering");
    ASSERT_EQ(interaction.boxes.size(), 4u);
    EXPECT_EQ(interaction.texts(), (std::vector<QString>{blowfish, sha1, blowfish, sha1}));
    for (const test::ShownBox& box : interaction.boxes) {
        EXPECT_EQ(box.kind, BoxKind::Information);
        EXPECT_EQ(box.buttons, BoxButtons::Ok);
    }
}

TEST_F(SettingsDialogTest, WithoutAFileOkCreatesItWithTheFormsDefaults)
{
    execute([](TSettingsDialog& shown) {
        EXPECT_EQ(shown.rgSrcFiles().ItemIndex(), 1);
        EXPECT_TRUE(shown.rgSrcFiles().Item(1).isChecked());
        EXPECT_FALSE(shown.chbxCompress().isChecked());
        EXPECT_FALSE(shown.chbxSelfExtract().isChecked());
        EXPECT_EQ(shown.cbxRecipientSystem().currentText(), "Windows");
        // The recipient's system waits for the check box.
        EXPECT_FALSE(shown.cbxRecipientSystem().isEnabled());
        EXPECT_FALSE(shown.lblRecipientSystem().isEnabled());
        shown.chbxSelfExtract().click();
        EXPECT_TRUE(shown.cbxRecipientSystem().isEnabled());
        shown.chbxSelfExtract().click();
        EXPECT_FALSE(shown.cbxRecipientSystem().isEnabled());
        return pressOk(shown);
    });
    EXPECT_TRUE(interaction.boxes.empty());
    // The Windows program's five keys in its order, then the recipient's system.
    EXPECT_EQ(test::readText(settingsFile()), "[Files]\nFileAlgorithm=0\nPassAlgorithm=0\nCompressFiles=0\n"
                                              "MakeSelfExtracting=0\nSourceFiles=1\nRecipientSystem=Windows\n");
}

TEST_F(SettingsDialogTest, EveryOpeningStartsWithTheFocusOnOk)
{
    for (int opening = 0; opening < 2; ++opening)
        execute([opening](TSettingsDialog& shown) {
            EXPECT_EQ(shown.focusWidget(), &shown.btnOk()) << "opening " << opening;
            // The user moves on to the first list; the next opening starts on OK all the same.
            shown.cbxFileAlgorithm().setFocus();
            return pressCancel(shown);
        });
}

TEST_F(SettingsDialogTest, AFileIsLoadedWithSourceFilesClampedIntoTheGroup)
{
    struct Case
    {
        const char* content;
        int shownIndex;
        bool compress, selfExtract;
        const char* recipient;
    };
    const Case cases[] = {
        {"[Files]\nCompressFiles=1\n", 0, true, false, "Windows"},
        {"[Files]\nSourceFiles=7\nMakeSelfExtracting=2\nRecipientSystem=Linux\n", 2, false, true, "Linux"},
        {"[Files]\nSourceFiles=-5\nRecipientSystem=BeOS\n", -1, false, false, "Windows"},
        {"[files]\nsourcefiles=0x2\ncompressfiles=abc\nrecipientsystem = linux\n", 2, false, false, "Linux"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content);
        test::writeFile(settingsFile(), c.content);
        execute([&c](TSettingsDialog& shown) {
            EXPECT_EQ(shown.rgSrcFiles().ItemIndex(), c.shownIndex);
            for (int i = 0; i < shown.rgSrcFiles().Count(); ++i)
                EXPECT_EQ(shown.rgSrcFiles().Item(i).isChecked(), i == c.shownIndex) << i;
            EXPECT_EQ(shown.chbxCompress().isChecked(), c.compress);
            EXPECT_EQ(shown.chbxSelfExtract().isChecked(), c.selfExtract);
            EXPECT_EQ(shown.cbxRecipientSystem().currentText(), c.recipient);
            EXPECT_EQ(shown.cbxRecipientSystem().isEnabled(), c.selfExtract);
            return pressOk(shown);
        });
        const platform::TIniFile written(settingsFile());
        EXPECT_EQ(written.ReadInteger(kSectionFiles, kKeySourceFiles, 99), c.shownIndex);
        EXPECT_EQ(written.ReadString(kSectionFiles, kKeyRecipientSystem, {}), c.recipient);
        EXPECT_EQ(written.ReadBool(kSectionFiles, kKeyCompressFiles, !c.compress), c.compress);
    }
    // The user cannot change the compression box; only the file does.
    EXPECT_FALSE(dialog.chbxCompress().isEnabled());
}

TEST_F(SettingsDialogTest, CancelWritesNothingButWithoutAFileTheControlsStillCount)
{
    execute([](TSettingsDialog& shown) {
        shown.chbxSelfExtract().setChecked(true);
        shown.rgSrcFiles().Item(2).click();
        shown.cbxRecipientSystem().setCurrentIndex(shown.cbxRecipientSystem().findText("Linux"));
        return pressCancel(shown);
    });
    EXPECT_FALSE(test::exists(settingsFile()));
    EXPECT_TRUE(dialog.SelfExtractChecked());
    EXPECT_EQ(dialog.SourceFilesIndex(), 2);
    EXPECT_EQ(dialog.RecipientSystemChosen(), RecipientSystem::Linux);

    // Esc and the close box cancel as well.
    const std::string content = "[Visuals]\nLeft=3\n[Files]\nSourceFiles=0\n";
    test::writeFile(settingsFile(), content);
    execute([](TSettingsDialog& shown) {
        shown.chbxSelfExtract().setChecked(true);
        QTest::keyClick(&shown, Qt::Key_Escape);
        return shown.result();
    });
    execute([](TSettingsDialog& shown) {
        shown.show();
        shown.rgSrcFiles().Item(1).click();
        shown.close();
        EXPECT_FALSE(shown.isVisible());
        return shown.result();
    });
    EXPECT_EQ(test::readText(settingsFile()), content);
}

TEST_F(SettingsDialogTest, OkKeepsEveryOtherKeyOfTheFileAndAddsOnlyTheRecipientsSystem)
{
    // As the Windows program left it, with a key of some later version.
    test::writeFile(settingsFile(), "[Visuals]\r\nLeft=3\r\n[Files]\r\nSourceFiles=2\r\nFutureKey=x\r\n"
                                    "MakeSelfExtracting=1\r\n");
    execute([](TSettingsDialog& shown) {
        shown.cbxRecipientSystem().setCurrentIndex(shown.cbxRecipientSystem().findText("Linux"));
        return pressOk(shown);
    });
    EXPECT_EQ(test::readText(settingsFile()), "[Visuals]\r\nLeft=3\r\n[Files]\r\nSourceFiles=2\r\nFutureKey=x\r\n"
                                              "MakeSelfExtracting=1\r\nFileAlgorithm=0\r\nPassAlgorithm=0\r\n"
                                              "CompressFiles=0\r\nRecipientSystem=Linux\r\n");
}

TEST_F(SettingsDialogTest, AFailedWriteIsReportedAndStopsAtTheFirstKey)
{
    const std::string content = "[Files]\nSourceFiles=2\n";
    test::writeFile(settingsFile(), content);
    // A file without write permission has the read-only attribute, which stops even root.
    ASSERT_EQ(::chmod(settingsFile().c_str(), 0444), 0);
    execute(pressOk);
    ASSERT_EQ(interaction.boxes.size(), 1u);
    EXPECT_EQ(interaction.boxes[0].kind, BoxKind::ApplicationError);
    EXPECT_EQ(interaction.boxes[0].text.toStdString(), "Unable to write to " + settingsFile());
    EXPECT_EQ(test::readText(settingsFile()), content);
}

TEST_F(SettingsDialogTest, TheFormKeepsItsPlacesAndShowsEveryTextWhole)
{
    EXPECT_GE(dialog.width(), 328);
    EXPECT_GE(dialog.height(), 295);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    test::expectNothingCutOff(dialog);
    // Labels stay beside their lists, the check boxes and the group below them, the buttons at the bottom.
    EXPECT_LT(dialog.Label1().geometry().right(), dialog.cbxFileAlgorithm().x());
    EXPECT_EQ(dialog.cbxFileAlgorithm().x(), dialog.cbxPassAlgorithm().x());
    EXPECT_LT(dialog.cbxPassAlgorithm().geometry().bottom(), dialog.chbxCompress().y());
    EXPECT_LT(dialog.chbxSelfExtract().geometry().bottom(), dialog.cbxRecipientSystem().y());
    EXPECT_LT(dialog.lblRecipientSystem().geometry().right(), dialog.cbxRecipientSystem().x());
    EXPECT_GT(dialog.lblRecipientSystem().x(), dialog.chbxSelfExtract().x());
    EXPECT_LT(dialog.cbxRecipientSystem().geometry().bottom(), dialog.rgSrcFiles().y());
    EXPECT_FALSE(dialog.cbxRecipientSystem().accessibleName().isEmpty());
    EXPECT_LT(dialog.Bevel1().geometry().bottom(), dialog.btnOk().y());
}

} // namespace
} // namespace tazen
