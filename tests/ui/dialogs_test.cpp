// The progress, shred and scan dialogs: their texts, their cancel flags, and their layout with this
// system's font.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/progressDlg.h"
#include "ui/dialogs/scandlg.h"
#include "ui/dialogs/shredDlg.h"
#include "ui/passdlg.h"

#include "ui/layout_check.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace tazen {
namespace {

void pressEsc(QWidget& dialog)
{
    QTest::keyClick(&dialog, Qt::Key_Escape);
}

TEST(ProgressDialog, StartProgressSaysHowManyFilesAndClearsTheLastRun)
{
    TProgressDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Dialog");
    dialog.StartProgress("Encrypting", "1");
    EXPECT_EQ(dialog.lblFilesTotal().text(), "Encrypting one file total");
    dialog.StartProgress("Encrypting", "4");
    EXPECT_EQ(dialog.lblFilesTotal().text(), "Encrypting 4 files total.");
    dialog.StartProgress("Decrypting", "1");
    EXPECT_EQ(dialog.lblFilesTotal().text(), "Decrypting one file total");
    dialog.StartProgress("Decrypting", "12");
    EXPECT_EQ(dialog.lblFilesTotal().text(), "Decrypting 12 files total.");

    // What a cancelled run leaves behind is cleared; a count of 0 keeps the last total text.
    dialog.lblFilename().SetCaption("/home/user/old.doc");
    dialog.gaugeFile().SetProgress(70);
    dialog.gaugeTotal().SetProgress(30);
    QTest::mouseClick(&dialog.btnAction(), Qt::LeftButton);
    ASSERT_EQ(dialog.ModalResult(), kModalResultCancel);
    dialog.StartProgress("Encrypting", "0");
    EXPECT_EQ(dialog.ModalResult(), 0);
    EXPECT_EQ(dialog.windowTitle(), "Encrypting");
    EXPECT_EQ(dialog.lblFilesTotal().text(), "Decrypting 12 files total.");
    EXPECT_EQ(dialog.lblFilename().text(), "");
    EXPECT_EQ(dialog.gaugeFile().Progress(), 0);
    EXPECT_EQ(dialog.gaugeTotal().Progress(), 0);
    EXPECT_EQ(dialog.btnAction().text(), "&Cancel");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    const QPoint offCentre = dialog.frameGeometry().center() - dialog.screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2);
}

TEST(ProgressDialog, CancelHidesAtOnceAndCloseOnlyHides)
{
    TProgressDialog dialog;
    dialog.StartProgress("Encrypting", "2");
    // Esc is no Cancel here.
    pressEsc(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), 0);
    QTest::mouseClick(&dialog.btnAction(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), kModalResultCancel);

    dialog.StartProgress("Encrypting", "2");
    dialog.gaugeTotal().SetProgress(40);
    dialog.FinishProgress();
    EXPECT_EQ(dialog.gaugeTotal().Progress(), 100);
    EXPECT_EQ(dialog.btnAction().text(), "&Close");
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(&dialog.btnAction(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), 0);

    // The close box hides without setting the flag, so the run goes on.
    dialog.StartProgress("Decrypting", "1");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), 0);

    dialog.StartProgress("Decrypting", "1");
    dialog.HideProgress();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), 0);
}

TEST(ShredDialog, CancelAndEscSetTheFlagAndLeaveItShown)
{
    TshredDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "");
    EXPECT_EQ(dialog.BitBtn1().text(), "&Cancel");
    dialog.SetCaption("Shredding file");
    dialog.Show();
    EXPECT_EQ(dialog.windowTitle(), "Shredding file");
    EXPECT_TRUE(dialog.isVisible());
    pressEsc(dialog);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), kModalResultCancel);

    dialog.SetModalResult(0);
    QTest::mouseClick(&dialog.BitBtn1(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), kModalResultCancel);

    dialog.SetModalResult(0);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.ModalResult(), 0);
}

TEST(ScreenReader, GaugesAreProgressBarsNamedByTheirLabelWithThePercentageAsValue)
{
    TProgressDialog progress;
    progress.StartProgress("Encrypting", "2");
    progress.lblFilename().SetCaption("/home/user/report.doc");
    TshredDialog shred;
    const struct
    {
        TGauge& gauge;
        TLabel& label;
        QString caption;
    } cases[] = {{progress.gaugeFile(), progress.lblFilename(), "/home/user/report.doc"},
                 {progress.gaugeTotal(), progress.lblFilesTotal(), "Encrypting 2 files total."},
                 {shred.gaugePass(), shred.lblpass(), "Pass 3 of 35"}};
    shred.lblpass().SetCaption("Pass 3 of 35");
    for (const auto& c : cases) {
        c.gauge.SetMaxValue(1000);
        for (int value = 0; value <= 125; ++value)
            c.gauge.SetProgress(value);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(&c.gauge);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), QAccessible::ProgressBar);
        EXPECT_EQ(reader->text(QAccessible::Name), c.caption);
        QAccessibleValueInterface* value = reader->valueInterface();
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->currentValue().toInt(), 12);
        EXPECT_EQ(value->minimumValue().toInt(), 0);
        EXPECT_EQ(value->maximumValue().toInt(), 100);
        c.label.SetText(QStringLiteral("renamed"));
        EXPECT_EQ(reader->text(QAccessible::Name), "renamed");
    }
}

TEST(ScreenReader, ThePasswordFieldIsNamedByThePromptAboveIt)
{
    TPasswordDlg dialog;
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(&dialog.edPassword());
    for (const char* prompt : {"Enter password", "Confirm password"}) {
        dialog.lblpw().SetText(QString::fromUtf8(prompt));
        EXPECT_EQ(field->text(QAccessible::Name), prompt);
    }
}

TEST(ScanDialog, EachScanGetsAFreshDialogWithItsCaption)
{
    std::unique_ptr<TscanDialog> scanDialog;
    ShowScanDialog(scanDialog, ScanCaption(true));
    ASSERT_NE(scanDialog, nullptr);
    EXPECT_EQ(scanDialog->windowTitle(), "TaZEN - Adding files for decryption.");
    EXPECT_TRUE(scanDialog->isVisible());
    EXPECT_FALSE(scanDialog->isModal());
    SetScanText(*scanDialog, "/home/user/");
    EXPECT_EQ(scanDialog->lblScanning().text(), "/home/user/");
    pressEsc(*scanDialog);
    EXPECT_EQ(scanDialog->ModalResult(), kModalResultCancel);
    EXPECT_TRUE(scanDialog->isVisible());
    CloseScanDialog(scanDialog);
    EXPECT_EQ(scanDialog, nullptr);

    ShowScanDialog(scanDialog, ScanCaption(false));
    EXPECT_EQ(scanDialog->windowTitle(), "TaZEN - Adding files for encryption.");
    EXPECT_EQ(scanDialog->ModalResult(), 0);
    QTest::mouseClick(&scanDialog->BitBtn1(), Qt::LeftButton);
    EXPECT_EQ(scanDialog->ModalResult(), kModalResultCancel);
    EXPECT_TRUE(scanDialog->isVisible());
}

TEST(DialogLayout, NoTextIsCutOffAndTheFormsKeepTheirSize)
{
    using test::expectNothingCutOff;
    TProgressDialog progress;
    EXPECT_GE(progress.width(), 352);
    EXPECT_GE(progress.height(), 169);
    EXPECT_EQ(progress.minimumSize(), progress.maximumSize());
    EXPECT_FALSE(progress.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    expectNothingCutOff(progress);
    progress.StartProgress("Decrypting", "100000");
    progress.lblFilename().SetCaption("/home/user/report.doc");
    expectNothingCutOff(progress);
    const int cancelWidth = progress.btnAction().width();
    progress.FinishProgress();
    expectNothingCutOff(progress);
    EXPECT_EQ(progress.btnAction().width(), cancelWidth);
    // A long name is cut where the form says, and can be read whole in the tool tip.
    const std::string longName = "/home/user/" + std::string(200, 'x') + ".doc";
    progress.lblFilename().SetCaption(longName);
    EXPECT_EQ(progress.lblFilename().width(), 273);
    EXPECT_EQ(progress.lblFilename().toolTip().toStdString(), longName);

    TshredDialog shred;
    EXPECT_GE(shred.width(), 353);
    EXPECT_GE(shred.height(), 126);
    EXPECT_EQ(shred.lblpass().text(), "") << "building an executable shows no pass";
    shred.lblHead().SetCaption("Creating the executable file: ");
    shred.lblFileName().SetCaption("/home/user/report.doc.TaZEN.exe");
    shred.lblpass().SetCaption("Pass 35 of 35");
    expectNothingCutOff(shred);

    // A long path loses the middle of its folders and keeps the file's own name.
    const std::string deepPath = "/home/user/" + std::string(200, 'f') + "/report.doc";
    for (TLabel* label : {&progress.lblFilename(), &shred.lblFileName()}) {
        label->SetCaption(deepPath);
        const QString shown = label->ShownText();
        EXPECT_TRUE(shown.startsWith("/home/user/")) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QStringLiteral("\u2026/report.doc"))) << shown.toStdString();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(shown), label->contentsRect().width());
        EXPECT_EQ(label->text().toStdString(), deepPath);
        EXPECT_EQ(label->toolTip().toStdString(), deepPath);
    }

    TscanDialog scan;
    EXPECT_GE(scan.width(), 373);
    EXPECT_GE(scan.height(), 94);
    SetScanText(scan, "Please wait...");
    expectNothingCutOff(scan);
}

TEST(DialogLayout, ALargerFontGivesTallerGaugesAndMovesWhatIsBelowThem)
{
    const QFont before = QApplication::font();
    QFont large = before;
    large.setPixelSize(28);
    QApplication::setFont(large);
    TProgressDialog progress;
    TshredDialog shred;
    TPasswordDlg password;
    QApplication::setFont(before);
    const int needed = QFontMetrics(large).height() + 2;
    for (const TGauge* gauge : {&progress.gaugeFile(), &progress.gaugeTotal(), &shred.gaugePass()})
        EXPECT_GE(gauge->height(), needed) << gauge->objectName().toStdString();
    test::expectNothingCutOff(progress);
    test::expectNothingCutOff(shred);
    // "Show password" and Suggest no longer fit side by side in the field's width.
    password.ShowStrength(true);
    EXPECT_FALSE(password.chbxShowPassword().geometry().intersects(password.btnSuggest().geometry()));
    EXPECT_TRUE(password.rect().contains(password.btnSuggest().geometry()));
}

} // namespace
} // namespace tazen
