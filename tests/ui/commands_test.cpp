// The Encrypt and Decrypt commands through the real dialogs and the real runs, with a scripted user.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_fixture.h"

#include "engine/strength.h"
#include "ui/strengthmeter.h"

#include <QCheckBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace tazen::test {
namespace {

using Commands = WindowTest;

TEST_F(Commands, TheRoadOfOneFileThereAndBack)
{
    const std::string report = makeFile("report.doc", std::string(20000, 'r'));
    ASSERT_TRUE(SetDates(report, {kSecondDate, kFirstDate}));
    form.DropFiles({report});
    ASSERT_EQ(form.ModeName(), QStringLiteral("Encrypt"));
    willType(QStringLiteral("Grüße, 2 words"));
    willType(QStringLiteral("Grüße, 2 words"));
    form.btnEncrypt().click();

    EXPECT_TRUE(user.boxes.empty());
    EXPECT_EQ(user.modalTitles, (std::vector<QString>{QStringLiteral("Password"), QStringLiteral("Password")}));
    EXPECT_EQ(passwordDlg.lblpw().text(), QStringLiteral("Confirm password"));
    EXPECT_TRUE(passwordDlg.edPassword().text().isEmpty()) << "the password does not stay in the field";
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN"})
        << "with no settings file the settings dialog's Delete. decides";
    EXPECT_EQ(form.Files().Count(), 0);
    EXPECT_EQ(form.ModeName(), QStringLiteral("Encrypt"));
    EXPECT_EQ(statusLine(), QStringLiteral("One file choosen for encryption")) << "the run leaves the line";
    EXPECT_EQ(progressDialog.btnAction().text(), QStringLiteral("&Close"));
    EXPECT_FALSE(form.Blowfish1().Initialized());
    EXPECT_TRUE(form.btnAdd().isEnabled());
    EXPECT_EQ(DatesOf(report + ".TaZEN"), (Dates{kSecondDate, kFirstDate})) << "the source's";

    ASSERT_TRUE(SetDates(report + ".TaZEN", {kFirstDate, kSecondDate}));
    form.DropFiles({report + ".TaZEN"});
    ASSERT_EQ(form.ModeName(), QStringLiteral("Decrypt"));
    willType(QStringLiteral("Grüße, 2 words"));
    form.btnDecrypt().click();
    EXPECT_EQ(user.modalTitles.size(), 3u) << "decryption asks once";
    EXPECT_TRUE(user.boxes.empty());
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc"});
    EXPECT_EQ(DatesOf(report), (Dates{kFirstDate, kSecondDate})) << "the encrypted file's";
    EXPECT_EQ(readText(report), std::string(20000, 'r'));
    EXPECT_EQ(form.Files().Count(), 0);
}

TEST_F(Commands, EndWithoutARunWhenThereIsNothingOrThePromptsSayNo)
{
    form.SetEncryptMode(true);
    form.btnEncrypt().click();
    EXPECT_EQ(user.texts(), std::vector<QString>{QStringLiteral("You must first add the files you wish to encypt.")});
    EXPECT_TRUE(user.modalTitles.empty());

    const std::string file = makeFile("a.txt");
    form.AddFileList({file});
    willType(QStringLiteral("secret"));
    willType(QStringLiteral("secret"), QDialog::Rejected);
    form.btnEncrypt().click();
    EXPECT_EQ(user.boxes.size(), 1u) << "a cancelled confirmation ends silently";

    willType(QStringLiteral("Secret"));
    willType(QStringLiteral("secret"));
    form.btnEncrypt().click();
    EXPECT_EQ(user.boxes.back().kind, BoxKind::Error);
    EXPECT_EQ(user.boxes.back().text, QStringLiteral("Passwords do not match."));
    EXPECT_EQ(listed(), std::vector<std::string>{file});
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"a.txt"});

    form.SetDecryptMode(true);
    form.btnDecrypt().click();
    EXPECT_EQ(user.texts().back(), QStringLiteral("You must first add the files you wish to decrypt."));
}

TEST_F(Commands, AnEmptyPasswordIsAPassword)
{
    const std::string file = makeFile("a.txt", "plain");
    form.DropFiles({file});
    willType(QString());
    willType(QString());
    form.btnEncrypt().click();
    form.DropFiles({file + ".TaZEN"});
    willType(QStringLiteral("not empty"));
    form.btnDecrypt().click();
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(listed(), std::vector<std::string>{file + ".TaZEN"}) << "a wrong password keeps the list";

    willType(QString());
    form.btnDecrypt().click();
    EXPECT_EQ(readText(file), "plain");
}

TEST_F(Commands, ACancelledRunEmptiesTheListAndAFailedOneKeepsIt)
{
    const std::vector<std::string> names = {makeFile("a.txt", std::string(50000, 'a')), makeFile("b.txt")};
    form.DropFiles(names);
    willType(QStringLiteral("pw"));
    willType(QStringLiteral("pw"));
    // Pressed as soon as the run lets messages through.
    QTimer::singleShot(0, &progressDialog, [this] { progressDialog.btnAction().click(); });
    form.btnEncrypt().click();
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(user.boxes[0].text, QStringLiteral("Encryption canceled"));
    EXPECT_EQ(form.Files().Count(), 0);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));

    // A file named after the cancel text fails for another reason and keeps the list.
    const std::string canceled = dir / "Encryption canceled";
    form.AddFileList({names[1], canceled});
    willType(QStringLiteral("pw"));
    willType(QStringLiteral("pw"));
    form.btnEncrypt().click();
    ASSERT_EQ(user.boxes.size(), 2u);
    EXPECT_TRUE(user.boxes[1].text.contains(QStringLiteral("Encryption canceled"))) << user.boxes[1].text.toStdString();
    EXPECT_EQ(listed(), (std::vector<std::string>{names[1], canceled}));
}

TEST_F(Commands, WhileARunWorksTheCommandsWaitAndDropsAreHeld)
{
    const std::string big = makeFile("big.txt", std::string(100000, 'b'));
    const std::string later = makeFile("later.txt");
    form.DropFiles({big});
    willType(QStringLiteral("pw"));
    willType(QStringLiteral("pw"));
    bool enabledDuringRun = true;
    std::vector<std::string> listedDuringRun;
    QTimer::singleShot(0, &form, [&] {
        enabledDuringRun = form.btnEncrypt().isEnabled() || form.btnAdd().isEnabled() || form.btnRemove().isEnabled() ||
                           form.btnSettings().isEnabled() || form.kryptera1().isEnabled() ||
                           form.Dekryptera1().isEnabled();
        form.DropFiles({later});
        form.WhenIdle([&] { listedDuringRun = listed(); });
        form.btnEncrypt().click();
    });
    form.btnEncrypt().click();
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_EQ(user.modalTitles.size(), 2u) << "no second run started";
    EXPECT_EQ(listed(), std::vector<std::string>{later}) << "the held drop came after the run emptied the list";
    EXPECT_EQ(listedDuringRun, std::vector<std::string>{later});
    EXPECT_TRUE(form.btnEncrypt().isEnabled());
    EXPECT_TRUE(form.btnAdd().isEnabled());
}

TEST_F(Commands, ClosingTheWindowCancelsTheRunFirst)
{
    const std::vector<std::string> names = {makeFile("a.txt", std::string(50000, 'a')), makeFile("b.txt")};
    form.DropFiles(names);
    form.show();
    QSignalSpy closed(&form, &TForm1::Closed);
    willType(QStringLiteral("pw"));
    willType(QStringLiteral("pw"));
    bool closedAtOnce = true;
    QTimer::singleShot(0, &form, [&] {
        form.close();
        closedAtOnce = closed.count() > 0;
    });
    form.btnEncrypt().click();
    EXPECT_FALSE(closedAtOnce);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(user.boxes.empty()) << "the user asked to close; the cancel is not reported";
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST_F(Commands, WithoutASettingsFileTheSettingsDialogSteersTheRunEvenAfterCancel)
{
    writeFile(program / "extractor-windows.exe", "stub extractor bytes");
    user.modalScripts.push_back([](QDialog& dialog) {
        auto& settings = dynamic_cast<TSettingsDialog&>(dialog);
        settings.chbxSelfExtract().setChecked(true);
        settings.rgSrcFiles().SetItemIndex(0);
        return QDialog::Rejected;
    });
    form.btnSettings().click();
    EXPECT_FALSE(exists(program / "TaZEN.ini"));

    const std::string file = makeFile("a.txt", "plain");
    form.DropFiles({file});
    willType(QStringLiteral("pw"));
    willType(QStringLiteral("pw"));
    form.btnEncrypt().click();
    EXPECT_TRUE(user.boxes.empty());
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a.txt", "a.txt.TaZEN.exe"}));
    EXPECT_EQ(readText(dir / "a.txt.TaZEN.exe").substr(0, 20), "stub extractor bytes");
}

TEST_F(Commands, ThePasswordDialogTakesEnterAndEscape)
{
    passwordDlg.show();
    EXPECT_EQ(passwordDlg.edPassword().echoMode(), QLineEdit::Password);
    EXPECT_TRUE(passwordDlg.btnOK().isDefault());
    passwordDlg.edPassword().setText(QStringLiteral("x"));
    QSignalSpy accepted(&passwordDlg, &QDialog::accepted);
    QSignalSpy rejected(&passwordDlg, &QDialog::rejected);
    QTest::keyClick(&passwordDlg.edPassword(), Qt::Key_Return);
    EXPECT_EQ(accepted.count(), 1);
    passwordDlg.show();
    QTest::keyClick(&passwordDlg.edPassword(), Qt::Key_Escape);
    EXPECT_EQ(rejected.count(), 1);
    EXPECT_FALSE(passwordDlg.isVisible());
}

TEST_F(Commands, EachPromptShowsWhatHelpsItTheEstimateSuggestOriginalsAndTheMatch)
{
    const TPasswordDlg drawn;
    const QString strong = QStringLiteral("washtub bagpipe unfeeling luridness imprison ploy");
    struct Seen
    {
        bool strength = false;
        bool suggest = false;
        QString originals;
        std::vector<QString> match;
        QSize size;
        QRect ok;
    };
    std::vector<Seen> seen;
    const auto prompt = [&](const std::vector<QString>& typed) {
        user.modalScripts.push_back([&, typed](QDialog&) {
            TStrengthMeter& meter = passwordDlg.StrengthMeter();
            Seen now{!meter.isHidden(),
                     !passwordDlg.btnSuggest().isHidden(),
                     passwordDlg.lblOriginals().isHidden() ? QString() : passwordDlg.lblOriginals().text(),
                     {},
                     passwordDlg.size(),
                     passwordDlg.btnOK().geometry()};
            EXPECT_EQ(passwordDlg.edPassword().echoMode(), QLineEdit::Password) << "every prompt starts hidden";
            for (const QString& text : typed) {
                passwordDlg.edPassword().setText(text);
                if (!passwordDlg.lblMatch().isHidden())
                    now.match.push_back(passwordDlg.lblMatch().text());
                if (meter.isHidden())
                    continue;
                const StrengthEstimate estimate = EstimateStrength(text.toUtf8().constData());
                EXPECT_EQ(meter.Bar().Score(), estimate.score) << text.toStdString();
                EXPECT_EQ(meter.Line().text().toStdString(), estimate.text);
            }
            passwordDlg.chbxShowPassword().setChecked(true);
            seen.push_back(now);
            return int(QDialog::Accepted);
        });
    };
    form.DropFiles({makeFile("report.doc")});
    prompt({QStringLiteral("Tr0ub4dor&3"), strong});
    prompt({QStringLiteral("washtub bag"), QStringLiteral("washtub bug"), strong});
    form.btnEncrypt().click();
    ASSERT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc.TaZEN"});
    form.DropFiles({dir / "report.doc.TaZEN"});
    prompt({strong});
    form.btnDecrypt().click();
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"report.doc"});

    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].strength && seen[0].suggest);
    EXPECT_EQ(seen[0].originals, QStringLiteral("The original files will be deleted. Settings chooses what becomes "
                                                "of them."))
        << "without a settings file the dialog's control decides, and it says Delete";
    EXPECT_GT(seen[0].ok.top(), passwordDlg.StrengthMeter().geometry().bottom()) << "the buttons move below it";
    EXPECT_EQ(seen[1].match, (std::vector<QString>{QStringLiteral("The two entries match so far."),
                                                   QStringLiteral("The two entries do not match."),
                                                   QStringLiteral("The two entries match.")}));
    for (const Seen& plain : {seen[1], seen[2]}) {
        EXPECT_FALSE(plain.strength || plain.suggest || !plain.originals.isEmpty());
        EXPECT_EQ(plain.size.width(), drawn.width());
    }
    EXPECT_EQ(seen[2].size, drawn.size()) << "decryption keeps the layout it was made with";
    EXPECT_EQ(seen[2].ok, drawn.findChild<QPushButton*>(QStringLiteral("btnOK"))->geometry());
    EXPECT_TRUE(seen[2].match.empty());
    passwordDlg.ShowStrength(true);
    EXPECT_EQ(passwordDlg.StrengthMeter().Bar().Score(), -1) << "an empty field shows no estimate";
}

TEST_F(Commands, SuggestFillsInSixWordsOfTheListInClearOrSaysWhyNot)
{
    form.DropFiles({makeFile("report.doc")});
    QString suggested;
    const auto suggestOnce = [&] {
        user.modalScripts.push_back([&](QDialog&) {
            passwordDlg.btnSuggest().click();
            suggested = passwordDlg.edPassword().text();
            EXPECT_EQ(passwordDlg.lblSuggested().isHidden() ? QString() : passwordDlg.lblSuggested().text(), suggested)
                << "shown whole, for writing down";
            EXPECT_EQ(passwordDlg.edPassword().echoMode(),
                      suggested.isEmpty() ? QLineEdit::Password : QLineEdit::Normal);
            return int(QDialog::Rejected);
        });
        form.btnEncrypt().click();
    };
    suggestOnce();
    EXPECT_TRUE(suggested.isEmpty());
    ASSERT_EQ(user.texts().size(), 1u);
    EXPECT_TRUE(user.texts().front().startsWith(QStringLiteral("Could not suggest a passphrase: ")))
        << user.texts().front().toStdString();

    std::filesystem::copy_file(TAZEN_WORD_LIST_PATH, program / "eff_large_wordlist.txt");
    const std::string list = readText(program / "eff_large_wordlist.txt");
    suggestOnce();
    const QStringList words = suggested.split(QLatin1Char(' '));
    EXPECT_EQ(words.size(), 6);
    for (const QString& word : words)
        EXPECT_NE(list.find("\t" + word.toStdString() + "\n"), std::string::npos) << word.toStdString();
}

} // namespace
} // namespace tazen::test
