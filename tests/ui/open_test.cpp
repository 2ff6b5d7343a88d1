// An encrypted file opened from the window: the copy handed to the desktop, listed in the Open files window,
// saved back when it changes, removed by Done; and the copies a crash left behind, offered at the start.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_fixture.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/opened.h"
#include "platform/descriptor.h"
#include "platform/faults.h"
#include "platform/instance.h"
#include "platform/opencopies.h"
#include "ui/openfiles.h"

#include "engine/scripted_frontend.h"

#include <QTimer>
#include <QTreeWidget>

#include <filesystem>

namespace tazen::test {
namespace {

class OpenWindowTest : public WindowTest
{
protected:
    OpenWindowTest()
    {
        form.SetOpenRuntimeFolder(runtime.path());
        const std::string plain = makeFile("notes.txt", "first words");
        std::string message;
        EXPECT_EQ(EncryptFiles(cipher, {plain}, "secret", message, frontend), kAllFilesDone) << message;
        std::filesystem::remove(plain);
        form.SetDecryptMode(true);
        form.AddFileList({encrypted});
        select({0});
        bool inMemory = false;
        std::string type;
        EXPECT_EQ(platform::IsInMemory(runtime.path(), inMemory, type), 0);
        onDisk = !inMemory;
    }
    ~OpenWindowTest() override { form.OpenFilesWindow().CloseAll(); }

    // The Open command with the password typed; a place on a disk is allowed with this answer.
    void openSelected(BoxAnswer diskAnswer = BoxAnswer::Ok)
    {
        openSelectedAnswers(diskAnswer);
        form.Open1Click();
    }
    void openSelectedAnswers(BoxAnswer diskAnswer = BoxAnswer::Ok)
    {
        willType(QStringLiteral("secret"));
        if (onDisk)
            user.answers.push_back(diskAnswer);
    }

    std::string plainOf(const std::string& name)
    {
        TempDir elsewhere;
        std::filesystem::copy_file(name, elsewhere / "copy.TaZEN");
        std::string message;
        EXPECT_EQ(DecryptFiles(cipher, {elsewhere / "copy.TaZEN"}, "secret", message, frontend), kAllFilesDone)
            << message;
        const Bytes bytes = readFile(elsewhere / "copy");
        return {bytes.begin(), bytes.end()};
    }

    std::vector<std::string> copies() const { return listFolder(runtime / kOpenCopiesFolder); }

    TOpenFilesWindow& window() { return form.OpenFilesWindow(); }

    TempDir runtime;
    const std::string encrypted = dir / "notes.txt.TaZEN";
    TBlowfish cipher;
    ScriptedFrontend frontend;
    bool onDisk = false;
};

TEST_F(OpenWindowTest, TheCopyIsOpenedSavedBackWhenChangedOpenedOnceAndRemovedByDone)
{
    openSelected();
    if (onDisk) {
        ASSERT_FALSE(user.boxes.empty());
        EXPECT_EQ(user.boxes.front().kind, BoxKind::Confirm);
        EXPECT_TRUE(user.boxes.front().text.contains(QString::fromStdString(runtime / kOpenCopiesFolder)));
    }
    ASSERT_EQ(user.shellOpened.size(), 1U);
    ASSERT_EQ(window().Count(), 1);
    const OpenedFile* file = window().Find(encrypted);
    ASSERT_NE(file, nullptr);
    const std::string copy = file->CopyPath();
    EXPECT_EQ(user.shellOpened.front(), QString::fromStdString(copy));
    EXPECT_EQ(window().NameOf(0), QString::fromStdString(encrypted));
    EXPECT_EQ(window().StateOf(0), QStringLiteral("unchanged"));
    EXPECT_TRUE(window().isVisible());

    // A full disk: the list says why, and the old file and the copy stay.
    platform::SetFaultHook([](platform::FileOperation operation, const std::string& name) -> ErrorCode {
        return operation == platform::FileOperation::Write && name.find(".TaZEN.tmp-") != std::string::npos ? ENOSPC
                                                                                                            : 0;
    });
    writeFile(copy, std::string("new words"));
    window().HandleWatch(encrypted);
    platform::SetFaultHook(nullptr);
    EXPECT_TRUE(window().StateOf(0).startsWith(QStringLiteral("saving failed: "))) << window().StateOf(0).toStdString();
    EXPECT_TRUE(window().StateOf(0).contains(QString::fromStdString(platform::ErrorText(ENOSPC))));
    EXPECT_EQ(plainOf(encrypted), "first words");
    EXPECT_TRUE(std::filesystem::exists(copy));

    writeFile(copy, std::string("new words"));
    window().HandleWatch(encrypted);
    EXPECT_TRUE(window().StateOf(0).startsWith(QStringLiteral("saved "))) << window().StateOf(0).toStdString();
    EXPECT_EQ(plainOf(encrypted), "new words");

    // Again from the menu and from a second start: no password asked, no second copy.
    const std::size_t boxes = user.boxes.size();
    form.Open1Click();
    platform::WindowMessage message;
    message.message = platform::kMessageHandOverOpen;
    message.dwData = platform::kHandOverMarker;
    message.data = platform::HandOverRecord(encrypted);
    std::uint32_t answered = 0;
    form.WMCopyData(message, [&](std::uint32_t result) { answered = result; });
    EXPECT_EQ(answered, 1U);
    EXPECT_EQ(window().Count(), 1);
    EXPECT_EQ(copies().size(), 1U);
    EXPECT_EQ(user.shellOpened.size(), 1U);
    EXPECT_EQ(user.boxes.size(), boxes);

    writeFile(copy, std::string("last words"));
    window().lstOpen().setCurrentItem(window().lstOpen().topLevelItem(0));
    window().btnDoneClick();
    EXPECT_EQ(window().Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_TRUE(copies().empty());
    EXPECT_EQ(plainOf(encrypted), "last words");
}

TEST_F(OpenWindowTest, WhatComesDuringASaveWaitsForItSoAnOpenHandedOverTakesTheSavedFile)
{
    // A save of a change seen, with Done pressed meanwhile; and Done itself saving a last change.
    for (const bool doneDuringSave : {true, false}) {
        openSelected();
        ASSERT_EQ(window().Count(), 1);
        const std::string copy = window().Find(encrypted)->CopyPath();
        const std::string content(100'000, doneDuringSave ? 'x' : 'y');
        writeFile(copy, content);
        window().lstOpen().setCurrentItem(window().lstOpen().topLevelItem(0));
        QString during;
        // Comes while the save lets events through: the same file handed over to be opened.
        QTimer::singleShot(0, &window(), [&] {
            during = window().StateOf(0);
            if (doneDuringSave)
                window().btnDoneClick();
            platform::WindowMessage message;
            message.message = platform::kMessageHandOverOpen;
            message.dwData = platform::kHandOverMarker;
            message.data = platform::HandOverRecord(encrypted);
            form.WMCopyData(message, [](std::uint32_t) {});
            EXPECT_EQ(window().Count(), 1) << "the file being saved stays until its save is over";
            openSelectedAnswers();
        });
        const std::size_t opened = user.shellOpened.size();
        if (doneDuringSave)
            window().HandleWatch(encrypted);
        else
            window().btnDoneClick();
        EXPECT_TRUE(during.startsWith(QStringLiteral("saving… "))) << during.toStdString();
        // Closed once saved, then opened again from what was saved.
        EXPECT_FALSE(std::filesystem::exists(copy));
        ASSERT_EQ(window().Count(), 1);
        EXPECT_EQ(user.shellOpened.size(), opened + 1);
        EXPECT_EQ(readFile(window().Find(encrypted)->CopyPath()), Bytes(content.begin(), content.end()));
        window().CloseAll();
    }
}

TEST_F(OpenWindowTest, ACopyOnADiskIsMadeOnlyWhenTheUserAllowsIt)
{
    if (!onDisk)
        GTEST_SKIP() << "the test's runtime folder is in memory: nothing to ask";
    openSelected(BoxAnswer::Cancel);
    EXPECT_EQ(window().Count(), 0);
    EXPECT_TRUE(user.shellOpened.empty());
    EXPECT_TRUE(copies().empty());
}

TEST_F(OpenWindowTest, ACopyLeftBehindIsOfferedAndSavedBackDiscardedOrKept)
{
    struct Case
    {
        BoxAnswer answer;
        bool kept;
        std::string plain;
    };
    for (const Case& each : {Case{BoxAnswer::Cancel, true, "first words"}, Case{BoxAnswer::No, false, "first words"},
                             Case{BoxAnswer::Yes, false, "changed meanwhile"}}) {
        std::string copy;
        {
            // Gone without Done, as in a crash: the copy stays.
            OpenedFile file(encrypted);
            Secret password;
            password.value = "secret";
            ASSERT_TRUE(file.Open(password, frontend, true, runtime.path()).Opened());
            copy = file.CopyPath();
        }
        writeFile(copy, each.plain);
        user.boxes.clear();
        user.answers.push_back(each.answer);
        if (each.answer == BoxAnswer::Yes)
            willType(QStringLiteral("secret"));
        form.OfferLeftBehind();
        ASSERT_EQ(user.boxes.size(), 1U);
        EXPECT_EQ(user.boxes[0].buttons, BoxButtons::YesNoCancel);
        EXPECT_TRUE(user.boxes[0].text.contains(QString::fromStdString(encrypted)));
        EXPECT_EQ(std::filesystem::exists(copy), each.kept);
        EXPECT_EQ(plainOf(encrypted), each.plain);
        if (each.kept)
            std::filesystem::remove_all(std::filesystem::path(copy).parent_path());
        EXPECT_TRUE(copies().empty());
    }
}

} // namespace
} // namespace tazen::test
