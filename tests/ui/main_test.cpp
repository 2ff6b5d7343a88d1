// The main window's list and modes: adding, removing, the texts of each way in, the Add button and drops.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_fixture.h"

#include <QAction>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QStyle>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <QWindow>

#include <filesystem>

#include <sys/stat.h>

namespace tazen::test {
namespace {

using MainWindow = WindowTest;

TEST_F(MainWindow, StartsWithoutModeAndSwitchesModesAsTheMenuSays)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TaZEN"));
    EXPECT_FALSE(form.kryptera1().isChecked());
    EXPECT_FALSE(form.Dekryptera1().isChecked());
    EXPECT_FALSE(form.btnEncrypt().isEnabled());
    EXPECT_FALSE(form.btnDecrypt().isEnabled());
    EXPECT_TRUE(form.btnAdd().isEnabled());
    EXPECT_TRUE(form.ModeName().isEmpty());
    EXPECT_FALSE(form.Blowfish1().Initialized());
    EXPECT_EQ(form.btnSettings().toolTip(), QStringLiteral("Ändra inställningar"));

    form.kryptera1().trigger();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TaZEN - Encrypt"));
    EXPECT_EQ(form.OpenFilter(), QStringLiteral("All files (*.*)|*.*"));
    EXPECT_TRUE(form.kryptera1().isChecked());
    EXPECT_TRUE(form.btnEncrypt().isEnabled());
    EXPECT_FALSE(form.btnDecrypt().isEnabled());

    // Choosing the mode it is already in keeps its check mark, although the menu item toggles itself.
    form.AddFileList({makeFile("a.txt"), makeFile("b.txt")});
    form.kryptera1().trigger();
    EXPECT_TRUE(form.kryptera1().isChecked());
    EXPECT_EQ(form.Files().Count(), 0);
    EXPECT_EQ(statusLine(), QStringLiteral("2 files choosen for encryption")) << "the switch leaves the line";

    form.Dekryptera1().trigger();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("TaZEN - Decrypt"));
    EXPECT_EQ(form.OpenFilter(), QStringLiteral("Encrypted files (*.TaZEN *.TaZEN.exe)|*.TaZEN;*.TaZEN.exe"));
    EXPECT_FALSE(form.kryptera1().isChecked());
    EXPECT_TRUE(form.Dekryptera1().isChecked());
    EXPECT_FALSE(form.btnEncrypt().isEnabled());
    EXPECT_TRUE(form.btnDecrypt().isEnabled());
}

TEST_F(MainWindow, EveryDialogAndBoxStaysInFrontOfTheShownWindow)
{
    TForm1 shown(user);
    shown.CreateDialogs();
    shown.show();
    const TDialogs& made = shown.Dialogs();
    ShowScanDialog(shown.ScanDialog(), ScanCaption(false), shown.DialogOwner());
    for (QDialog* dialog : std::initializer_list<QDialog*>{made.PasswordDlg, made.ProgressDialog, made.SettingsDialog,
                                                           made.AboutBox, made.shredDialog, shown.ScanDialog().get()}) {
        dialog->show();
        ASSERT_NE(dialog->windowHandle(), nullptr);
        EXPECT_EQ(dialog->windowHandle()->transientParent(), shown.windowHandle())
            << dialog->objectName().toStdString();
        dialog->hide();
    }
    CloseScanDialog(shown.ScanDialog());

    // A box of the window's own, and one a run asks for (a link is encrypted but never deleted).
    shown.btnRemove().click();
    std::filesystem::create_symlink(makeFile("a.txt"), dir / "link.txt");
    form.DropFiles({dir / "link.txt"});
    willType(QStringLiteral("pw"));
    willType(QStringLiteral("pw"));
    form.btnEncrypt().click();
    ASSERT_EQ(user.boxes.size(), 2u);
    EXPECT_EQ(user.boxes[0].owner, &shown);
    EXPECT_TRUE(user.boxes[1].text.endsWith(QStringLiteral("not deleted."))) << user.boxes[1].text.toStdString();
    EXPECT_EQ(user.boxes[1].owner, &form);

    // Before the window shows, the command line's boxes stand on their own.
    TForm1 starting(user);
    starting.FormCreate({"/e", dir / "missing"});
    ASSERT_EQ(user.boxes.size(), 3u);
    EXPECT_EQ(user.boxes[2].owner, nullptr);
}

TEST_F(MainWindow, TheFixedColumnsFitTheirLongestTextsInTheWindowsFont)
{
    QTreeView& list = form.lstVfiles();
    const auto width = [&](int column) { return list.header()->sectionSize(column); };
    EXPECT_EQ(width(TFileListModel::ColumnSize), 100) << "as described, at the window's own font";
    EXPECT_EQ(width(TFileListModel::ColumnStatus), 100);
    // What the item delegate keeps on either side of a cell's text.
    const int margins = 2 * (list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list) + 1);
    // Set on the list alone, as a theme's font for lists is; unhinted, as a desktop may have it, its texts
    // are fractions of a pixel wide, and the view elides a text even a fraction wider than its cell.
    QFont large = form.font();
    large.setHintingPreference(QFont::PreferNoHinting);
    for (const int pixels : {6, 17, 21, 27, 40}) {
        large.setPixelSize(pixels);
        list.setFont(large);
        const QFontMetricsF metrics(large);
        const double needed = metrics.horizontalAdvance(QStringLiteral("Unencrypted")) + margins;
        EXPECT_GE(width(TFileListModel::ColumnStatus), std::max(100.0, needed)) << pixels;
        EXPECT_LE(width(TFileListModel::ColumnStatus), std::max(100.0, needed + 24)) << pixels;
        // The size of a 10 GB file.
        EXPECT_GE(width(TFileListModel::ColumnSize), metrics.horizontalAdvance(QStringLiteral("9765625 KB")) + margins)
            << pixels;
    }
}

TEST_F(MainWindow, EachWayInHasItsOwnTextsForSizeAndStatus)
{
    form.SetEncryptMode(true);
    const std::string locked = makeFile("locked.txt");
    ::chmod(locked.c_str(), 0444);
    const std::vector<std::string> names = {makeFile("empty.txt", ""),
                                            makeFile("k1023.bin", std::string(1023, 'x')),
                                            makeFile("k1024.bin", std::string(1024, 'x')),
                                            makeFile("report.doc.TaZEN"),
                                            makeFile("lower.tazen"),
                                            locked,
                                            dir / "missing.txt"};
    form.AddDialogFiles(names);
    ASSERT_EQ(listed(), names);
    const QString dialogSizes[] = {"0 KB", "0 KB", "1 KB", "0 KB", "0 KB", "Unknown", "Unknown"};
    const QString dialogStatus[] = {"Unencrypted", "Unencrypted", "Unencrypted", "Encrypted",
                                    "Unencrypted", "Unencrypted", "Unencrypted"};
    for (int row = 0; row < 7; ++row) {
        EXPECT_EQ(sizeOf(row), dialogSizes[row]) << row;
        EXPECT_EQ(statusOf(row), dialogStatus[row]) << row;
    }
    EXPECT_EQ(statusLine(), QStringLiteral("7 files choosen for encryption"));

    // Sizes past 32 bits, from a sparse file.
    const std::string huge = makeFile("huge.img", "");
    std::filesystem::resize_file(huge, std::uintmax_t{5} << 30);

    form.SetEncryptMode(true);
    form.AddFileList({names[3], locked, huge});
    EXPECT_EQ(statusOf(0), QStringLiteral("encrypted"));
    EXPECT_EQ(sizeOf(1), QStringLiteral("Okänd"));
    EXPECT_EQ(sizeOf(2), QStringLiteral("5242880 KB"));
    EXPECT_TRUE(user.boxes.empty()) << "an unreadable file is listed without a message";
}

TEST_F(MainWindow, ANameIsListedOnceByteForByte)
{
    form.SetEncryptMode(true);
    const std::string upper = makeFile("Report.doc");
    const std::string lower = makeFile("report.doc");
    form.AddFileList({upper, lower, upper});
    EXPECT_EQ(listed(), (std::vector<std::string>{upper, lower}));
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].kind, BoxKind::Information);
    EXPECT_EQ(user.boxes[0].text, QString::fromStdString(upper) + QStringLiteral(" already choosen."));
    EXPECT_EQ(form.Files().Count(), 2) << "the entries before the duplicate are shown when it is reported";

    form.AddDialogFiles({lower});
    EXPECT_EQ(user.boxes.size(), 2u);
    EXPECT_EQ(form.Files().Count(), 2);
    EXPECT_EQ(statusLine(), QStringLiteral("2 files choosen for encryption"));

    form.SetEncryptMode(true);
    form.AddFileList({lower});
    EXPECT_EQ(statusLine(), QStringLiteral("One file choosen for encryption"));
}

TEST_F(MainWindow, RemovingNeedsEntriesAndASelection)
{
    form.SetEncryptMode(true);
    // With nothing listed, only the button speaks.
    QTest::keyClick(&form.lstVfiles(), Qt::Key_Delete);
    form.abort1().trigger();
    EXPECT_TRUE(user.boxes.empty());
    form.btnRemove().click();
    ASSERT_EQ(user.texts(), std::vector<QString>{QStringLiteral("There are no files to remove.")});

    const std::vector<std::string> names = {makeFile("a"), makeFile("b"), makeFile("c"), makeFile("d"), makeFile("e")};
    form.AddFileList(names);
    form.lstVfiles().clearSelection();
    form.abort1().trigger();
    QTest::keyClick(&form.lstVfiles(), Qt::Key_Delete);
    EXPECT_EQ(user.boxes.size(), 1u);
    form.btnRemove().click();
    EXPECT_EQ(user.texts().back(), QStringLiteral("Select the files you want to remove."));

    select({0, 2, 3});
    QTest::keyClick(&form.lstVfiles(), Qt::Key_Delete);
    EXPECT_EQ(listed(), (std::vector<std::string>{names[1], names[4]}));
    EXPECT_EQ(statusLine(), QStringLiteral("2 files choosen for encryption"));

    select({1});
    form.abort1().trigger();
    EXPECT_EQ(listed(), std::vector<std::string>{names[1]});

    // A removed name may come back without being taken for a duplicate.
    form.AddFileList({names[0]});
    EXPECT_EQ(listed(), (std::vector<std::string>{names[1], names[0]}));
    EXPECT_EQ(user.boxes.size(), 2u);
}

TEST_F(MainWindow, TheAddButtonNeedsAModeAndOffersItsFilter)
{
    form.btnAdd().click();
    EXPECT_EQ(user.texts(), std::vector<QString>{
                                QStringLiteral("You must first select \"Encrypt/Decrypt\" from the \"File\" menu.")});
    EXPECT_TRUE(user.openFilters.empty());

    form.SetDecryptMode(true);
    const std::string encrypted = makeFile("x.TaZEN");
    user.openFileAnswers.push_back(std::vector<std::string>{encrypted});
    form.btnAdd().click();
    EXPECT_EQ(listed(), std::vector<std::string>{encrypted});
    EXPECT_EQ(statusOf(0), QStringLiteral("Encrypted"));

    form.SetEncryptMode(true);
    form.StatusBar1().setText(QStringLiteral("stale"));
    user.openFileAnswers.push_back({});
    form.btnAdd().click();
    EXPECT_EQ(user.openFilters, (std::vector<QString>{QStringLiteral("Encrypted files (*.TaZEN *.TaZEN.exe)"),
                                                      QStringLiteral("All files (*)")}));
    EXPECT_TRUE(statusLine().isEmpty()) << "a cancelled dialog still rewrites the status line";
}

class Drop : public WindowTest
{
protected:
    void drop(const std::vector<std::string>& names)
    {
        QList<QUrl> urls;
        for (const std::string& name : names)
            urls.push_back(QUrl::fromEncoded(("file://" + QByteArray::fromStdString(name).toPercentEncoding("/")),
                                             QUrl::StrictMode));
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&form, &event);
    }
};

TEST_F(Drop, AnyPlainFileChoosesEncryptAndAFolderStandsForItsFiles)
{
    const std::string plain = makeFile("plain.txt");
    const std::string encrypted = makeFile("old.TaZEN");
    // A folder stands for the files an /e add finds in it.
    std::filesystem::create_directories(dir / "folder/sub");
    const std::string inside = makeFile("folder/inside.TaZEN");
    const std::string deeper = makeFile("folder/sub/deeper.txt");
    user.answers = {BoxAnswer::Yes};
    drop({dir / "folder", encrypted, dir / "missing", plain});
    EXPECT_EQ(form.ModeName(), QStringLiteral("Encrypt"));
    EXPECT_EQ(listed(), (std::vector<std::string>{inside, deeper, encrypted, plain}));
    EXPECT_EQ(statusOf(0), QStringLiteral("encrypted")) << "a mixed drop lists the encrypted file in Encrypt mode";
    ASSERT_EQ(user.boxes.size(), 1u) << "the sub-folder question";
    user.boxes.clear();

    // Another drop in the same mode keeps what is listed.
    const std::string more = makeFile("more.txt");
    drop({more});
    EXPECT_EQ(listed(), (std::vector<std::string>{inside, deeper, encrypted, plain, more}));
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(Drop, OnlyEncryptedFilesChooseDecryptWhateverTheirCase)
{
    form.SetEncryptMode(true);
    form.AddFileList({makeFile("listed.txt")});
    const std::string exact = makeFile("a.TaZEN");
    const std::string lower = makeFile("b.tazen");
    const std::string executable = makeFile("c.TaZEN.EXE");
    drop({exact, lower, executable});
    EXPECT_EQ(form.ModeName(), QStringLiteral("Decrypt"));
    EXPECT_EQ(listed(), (std::vector<std::string>{exact, lower, executable}))
        << "the mode changed, so the list was emptied";
    EXPECT_EQ(statusOf(0), QStringLiteral("encrypted"));
    EXPECT_EQ(statusOf(1), QStringLiteral("Unencrypted"));
    EXPECT_EQ(statusOf(2), QStringLiteral("encrypted"));
}

TEST_F(Drop, NothingThatExistsChangesNothingButTheStatusLine)
{
    form.SetDecryptMode(true);
    const std::string kept = makeFile("kept.TaZEN");
    form.AddFileList({kept});
    form.StatusBar1().setText(QStringLiteral("stale"));
    std::filesystem::create_directory(dir / "empty");
    user.answers = {BoxAnswer::Yes};
    drop({dir / "gone.txt", dir / "empty"});
    EXPECT_EQ(form.ModeName(), QStringLiteral("Decrypt"));
    EXPECT_EQ(listed(), std::vector<std::string>{kept});
    EXPECT_EQ(statusLine(), QStringLiteral("One file choosen for decryption"));
    EXPECT_EQ(user.texts().back(),
              QStringLiteral("No files found for encryption in ") + QString::fromStdString(dir / "empty"));
    EXPECT_FALSE(form.EndedWith()) << "a folder that gave nothing is only left out";
}

TEST_F(Drop, NamesKeepTheirBytesAndTheirWholeLength)
{
    const std::string odd = makeFile("caf\xe9.txt");
    // Well past the 255 characters a drop once had room for.
    const std::string deep = dir / (std::string(200, 'a') + "/" + std::string(200, 'b'));
    std::filesystem::create_directories(deep);
    const std::string longName = deep + "/report.doc";
    writeFile(longName, "x");
    drop({odd, longName});
    EXPECT_EQ(listed(), (std::vector<std::string>{odd, longName}));
    EXPECT_EQ(sizeOf(0), QStringLiteral("0 KB"));
}

} // namespace
} // namespace tazen::test
