// Encryption runs through the real progress dialog: a Cancel click that arrives while the run lets
// messages through, and a run that goes to its end.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "platform/folders.h"
#include "ui/dialogs/dialogfrontend.h"

#include "common/tempdir.h"
#include "engine/scripted_frontend.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <random>

namespace tazen {
namespace {

class DialogRun : public testing::Test
{
protected:
    DialogRun() { platform::SetExecutableFolderForTesting(program.path()); }
    ~DialogRun() override { platform::SetExecutableFolderForTesting(""); }

    // Five pieces each, so a run lets messages through several times inside every file.
    std::vector<std::string> makeFiles(std::initializer_list<const char*> names)
    {
        std::vector<std::string> full;
        for (const char* name : names) {
            full.push_back(dir / name);
            test::writeFile(full.back(), test::randomBytes(rng, 40000));
        }
        return full;
    }

    test::TempDir dir;
    test::TempDir program;
    std::mt19937 rng{11};
    TProgressDialog progressDialog;
    TshredDialog shredDialog;
    test::ScriptedSettingsControls settings;
    std::vector<std::string> messages;
    TBlowfish cipher;
    std::string message;
};

// Clicks btnAction from inside the run's message handling once the dialog names the given file.
class ClickingFrontend : public DialogFrontend
{
public:
    ClickingFrontend(TProgressDialog& progress, TshredDialog& shred, const SettingsControlsPort& settings,
                     std::vector<std::string>& messages, std::string fileToCancel)
        // Every request for event handling is answered, so the click lands in the file the test chose.
        : DialogFrontend(
              progress, shred, settings,
              [&messages](MessageKind, const std::string& text) { messages.push_back(text); },
              platform::Pacer(platform::Pacer::Clock::duration::zero())),
          fileToCancel_(std::move(fileToCancel))
    {
    }

    void ProcessMessages() override
    {
        if (!clicked && ProgressDialog().lblFilename().text() == QString::fromStdString(fileToCancel_)) {
            clicked = true;
            QTimer::singleShot(0, [this] { QTest::mouseClick(&ProgressDialog().btnAction(), Qt::LeftButton); });
        }
        DialogFrontend::ProcessMessages();
    }

    bool clicked = false;

private:
    std::string fileToCancel_;
};

TEST_F(DialogRun, CancelInTheSecondFileStopsThereAndKeepsItsSource)
{
    const std::vector<std::string> files = makeFiles({"a.doc", "b.doc", "c.doc"});
    const test::Bytes second = test::readFile(files[1]);
    ClickingFrontend frontend(progressDialog, shredDialog, settings, messages, files[1]);

    const int result = EncryptFiles(cipher, files, "secret", message, frontend);

    ASSERT_TRUE(frontend.clicked);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(message, "Encryption canceled");
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(progressDialog.isVisible());
    EXPECT_EQ(progressDialog.ModalResult(), kModalResultCancel);
    EXPECT_EQ(progressDialog.btnAction().text(), "&Cancel");
    // The first file is done and its source disposed of; the second is as it was; the third was never begun.
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"a.doc.TaZEN", "b.doc", "c.doc"}));
    EXPECT_EQ(test::readFile(files[1]), second);
    EXPECT_FALSE(cipher.Initialized());
}

TEST_F(DialogRun, AFinishedRunShowsAFullTotalAndClose)
{
    const std::vector<std::string> files = makeFiles({"a.doc", "b.doc"});
    settings.sourceFiles = 0;
    ClickingFrontend frontend(progressDialog, shredDialog, settings, messages, "no such file");

    EXPECT_EQ(EncryptFiles(cipher, files, "secret", message, frontend), kAllFilesDone);

    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(progressDialog.isVisible());
    EXPECT_EQ(progressDialog.windowTitle(), "Encrypting");
    EXPECT_EQ(progressDialog.lblFilesTotal().text(), "Encrypting 2 files total.");
    EXPECT_EQ(progressDialog.lblFilename().text(), QString::fromStdString(files[1]));
    EXPECT_EQ(progressDialog.gaugeFile().Progress(), 100);
    EXPECT_EQ(progressDialog.gaugeTotal().Progress(), 100);
    EXPECT_EQ(progressDialog.btnAction().text(), "&Close");
    EXPECT_EQ(test::listFolder(dir.path()), (std::vector<std::string>{"a.doc", "a.doc.TaZEN", "b.doc", "b.doc.TaZEN"}));

    QTest::mouseClick(&progressDialog.btnAction(), Qt::LeftButton);
    EXPECT_FALSE(progressDialog.isVisible());
    EXPECT_EQ(progressDialog.ModalResult(), 0);
}

// The clock starts where steady_clock does at boot, so a machine up for less than the gap is covered too.
TEST_F(DialogRun, EventRoundsCloserThanTheShortestGapAreSkipped)
{
    using Clock = platform::Pacer::Clock;
    Clock::time_point now{};
    DialogFrontend frontend(
        progressDialog, shredDialog, settings, [](MessageKind, const std::string&) {},
        platform::Pacer(std::chrono::hours(1), [&now] { return now; }));
    int handled = 0;
    const auto roundAt = [&](Clock::duration sinceStart) {
        now = Clock::time_point{} + sinceStart;
        QTimer::singleShot(0, [&handled] { ++handled; });
        frontend.ProcessMessages();
        return handled;
    };
    EXPECT_EQ(roundAt(Clock::duration::zero()), 1);
    EXPECT_EQ(roundAt(std::chrono::minutes(59)), 1);
    EXPECT_EQ(roundAt(std::chrono::minutes(60)), 3);
    EXPECT_EQ(roundAt(std::chrono::minutes(61)), 3);
    QCoreApplication::processEvents();
    EXPECT_EQ(handled, 4);
}

} // namespace
} // namespace tazen
