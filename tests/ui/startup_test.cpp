// Start-up: the command line, the single-instance rule with its hand-over (crafted records, and real second
// starts of the built program), and the window's geometry in the settings file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/settings.h"
#include "platform/inifile.h"
#include "platform/instance.h"

#include "common/bounded_wait.h"
#include "common/local_socket.h"
#include "common/scoped_env.h"
#include "engine/scripted_frontend.h"
#include "ui/openfiles.h"
#include "ui/window_fixture.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QScreen>
#include <QSocketNotifier>
#include <QTimer>
#include <QToolButton>

#include <csignal>
#include <filesystem>
#include <map>

#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tazen::test {
namespace {

using platform::EncodeHeader;
using platform::EncodeMessage;
using platform::HandOverRecord;
using platform::kHandOverMarker;
using platform::kMessageBringToFront;
using platform::kMessageCopyData;

constexpr int kHangGuardMs = static_cast<int>(test::kHangGuard.count());

platform::WindowMessage handOverMessage(const std::string& name)
{
    platform::WindowMessage message;
    message.message = kMessageCopyData;
    message.dwData = kHandOverMarker;
    message.data = HandOverRecord(name);
    message.cbData = static_cast<std::uint32_t>(message.data.size());
    return message;
}

const QString kStartHint = QStringLiteral(
    "Select \"Encrypt/Decrypt\" from the \"File\" menu or \"drag and drop\" files directly on the application.");

// Handles the window's events until fd has something to read (an answer, or the end of the connection).
bool serveUntilReadable(int fd)
{
    QEventLoop loop;
    QSocketNotifier notifier(fd, QSocketNotifier::Read);
    bool readable = false;
    QObject::connect(&notifier, &QSocketNotifier::activated, &loop, [&] {
        readable = true;
        loop.quit();
    });
    QTimer::singleShot(kHangGuardMs, &loop, &QEventLoop::quit);
    loop.exec();
    return readable;
}

// A sender that writes whatever bytes a test gives it, as a second instance or anybody else might.
class RawSender
{
public:
    explicit RawSender(const std::string& path)
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_un address = localAddress(path);
        connected_ = fd_ >= 0 && ::connect(fd_, asAddress(address), sizeof(address)) == 0;
    }
    ~RawSender() { ::close(fd_); }
    RawSender(const RawSender&) = delete;
    RawSender& operator=(const RawSender&) = delete;

    bool Connected() const { return connected_; }
    void Send(const std::string& bytes)
    {
        ASSERT_EQ(::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL), bytes.size());
    }
    // Says that nothing more will come.
    void Finish() { ::shutdown(fd_, SHUT_WR); }
    // The next message result, or nullopt when the endpoint closed the connection instead.
    std::optional<std::uint32_t> Answer()
    {
        std::string bytes;
        while (bytes.size() < 4) {
            if (!serveUntilReadable(fd_))
                return std::nullopt;
            char buffer[4];
            const ssize_t count = ::recv(fd_, buffer, 4 - bytes.size(), 0);
            if (count <= 0)
                return std::nullopt;
            bytes.append(buffer, static_cast<std::size_t>(count));
        }
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[0])) |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[1])) << 8 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[2])) << 16 |
               static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[3])) << 24;
    }

private:
    int fd_ = -1;
    bool connected_ = false;
};

struct Ran
{
    int exitCode = -1;
    bool crashed = false;
    QByteArray errors;
};

class StartUp : public WindowTest
{
protected:
    std::string endpoint() const { return runtime / "TForm1"; }

    std::optional<std::uint32_t> handOver(const std::string& bytes, bool finish = false)
    {
        RawSender sender(endpoint());
        EXPECT_TRUE(sender.Connected());
        sender.Send(bytes);
        if (finish)
            sender.Finish();
        return sender.Answer();
    }
    std::optional<std::uint32_t> handOverName(const std::string& name)
    {
        return handOver(EncodeMessage(kMessageCopyData, kHandOverMarker, HandOverRecord(name)));
    }

    // The built program, copied into this test's program folder, so its settings file is the test's own.
    QString programCopy()
    {
        const std::string copy = program / "tazen";
        if (!std::filesystem::exists(copy))
            std::filesystem::copy_file(TAZEN_PROGRAM, copy);
        return QString::fromStdString(copy);
    }

    // Starts the program as the user would, in folder, sharing this test's runtime folder, and handles this
    // window's events until it has ended. display replaces the offscreen platform's variables.
    Ran startProgram(const QStringList& arguments, const std::string& folder,
                     const std::map<QString, QString>& display = {{"QT_QPA_PLATFORM", "offscreen"}})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.path()));
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(name));
        for (const auto& [name, value] : display)
            environment.insert(name, value);
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(folder));
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(kHangGuardMs, &loop, &QEventLoop::quit);
        process.start(programCopy(), arguments);
        loop.exec();
        Ran ran;
        if (process.state() != QProcess::NotRunning) {
            ADD_FAILURE() << "the second start did not end";
            process.kill();
            process.waitForFinished();
            return ran;
        }
        ran.crashed = process.exitStatus() != QProcess::NormalExit;
        ran.exitCode = process.exitCode();
        ran.errors = process.readAllStandardError();
        return ran;
    }

    TempDir runtime;
    ScopedEnv runtimeEnv{"XDG_RUNTIME_DIR", runtime.path()};
};

// The command line

TEST_F(StartUp, AFileNameChoosesTheModeByItsExactExtensionAndIsListedAbsolute)
{
    const ScopedWorkingFolder here(dir.path());
    struct Case
    {
        std::vector<std::string> arguments;
        QString mode;
        std::string listed;
    };
    const std::vector<Case> cases = {
        {{"report.doc.TaZEN"}, "Decrypt", dir / "report.doc.TaZEN"},
        {{"report.doc.tazen"}, "Encrypt", dir / "report.doc.tazen"},
        {{"report.doc.TaZEN.exe"}, "Decrypt", dir / "report.doc.TaZEN.exe"},
        {{"report.doc.TAZEN.EXE"}, "Decrypt", dir / "report.doc.TAZEN.EXE"},
        {{"report.exe"}, "Encrypt", dir / "report.exe"},
        {{"no-extension"}, "Encrypt", dir / "no-extension"},
        {{"/E"}, "Encrypt", "/E"}, // only the lower-case switches are switches
        {{"sub/a.TaZEN", "b.txt", "/e"}, "Decrypt", dir / "sub/a.TaZEN"},
    };
    for (const Case& c : cases) {
        TForm1 started(user);
        started.AddFileList({dir / "left over from before"});
        started.HandleCommandLine(c.arguments);
        EXPECT_EQ(started.ModeName(), c.mode) << c.arguments[0];
        EXPECT_EQ(started.Files().Names(), std::vector<std::string>{c.listed}) << "not checked for existence";
        EXPECT_FALSE(started.EndedWith());
    }
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(StartUp, ASwitchWithoutAFolderEndsTheProgramBeforeTheWindowShows)
{
    const std::string file = makeFile("a.txt");
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"/e", file}, {"/d"}, {"/e", dir / "missing"}, {"/d", ""}}) {
        user.boxes.clear();
        TForm1 started(user);
        started.FormCreate(arguments);
        EXPECT_EQ(started.EndedWith(), 0) << arguments.size();
        EXPECT_FALSE(started.isVisible());
        ASSERT_EQ(user.boxes.size(), 1u);
        EXPECT_EQ(user.boxes[0].kind, BoxKind::Information);
        EXPECT_EQ(user.boxes[0].text, QStringLiteral("Operation only allowed on folders."));
    }
}

TEST_F(StartUp, AFolderIsAddedWithOrWithoutItsSubFoldersOrNotAtAll)
{
    makeFile("top.txt");
    makeFile("top.txt.TaZEN");
    std::filesystem::create_directory(dir / "sub");
    makeFile("sub/deep.txt");
    makeFile("sub/deep.txt.TaZEN");
    const ScopedWorkingFolder here(dir.path());
    const QString question =
        QStringLiteral("Include sub directories for ") + QString::fromStdString(dir.path()) + QStringLiteral("/.?");
    const auto sorted = [](std::vector<std::string> names) {
        std::sort(names.begin(), names.end());
        return names;
    };

    user.answers = {BoxAnswer::Yes};
    TForm1 recursive(user);
    recursive.HandleCommandLine({"/e", "."});
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].kind, BoxKind::Confirm);
    EXPECT_EQ(user.boxes[0].buttons, BoxButtons::YesNoCancel);
    EXPECT_EQ(user.boxes[0].text, question);
    EXPECT_EQ(recursive.ModeName(), QStringLiteral("Encrypt"));
    EXPECT_EQ(sorted(recursive.Files().Names()), sorted({dir / "./top.txt", dir / "./top.txt.TaZEN",
                                                         dir / "./sub/deep.txt", dir / "./sub/deep.txt.TaZEN"}));

    user.answers = {BoxAnswer::No};
    TForm1 flat(user);
    flat.HandleCommandLine({"/d", dir.path()});
    EXPECT_EQ(flat.ModeName(), QStringLiteral("Decrypt"));
    EXPECT_EQ(flat.Files().Names(), std::vector<std::string>{dir / "top.txt.TaZEN"});

    user.answers = {BoxAnswer::Cancel};
    TForm1 cancelled(user);
    cancelled.FormCreate({"/e", dir.path()});
    EXPECT_EQ(cancelled.EndedWith(), 0);
    EXPECT_EQ(cancelled.Files().Count(), 0);
    EXPECT_TRUE(cancelled.ModeName().isEmpty());
}

TEST_F(StartUp, WithoutArgumentsTheStatusLineSaysWhatToDo)
{
    form.FormCreate({});
    EXPECT_FALSE(form.EndedWith());
    EXPECT_EQ(statusLine(), kStartHint);
    EXPECT_TRUE(form.ModeName().isEmpty());
    EXPECT_TRUE(user.boxes.empty());
}

// Receiving a hand-over

TEST_F(StartUp, AHandOverChoosesAModeOnlyWhenThereIsNone)
{
    form.FormCreate({});
    const std::string encrypted = makeFile("a.doc.TaZEN", std::string(2048, 'x'));
    const std::string missing = dir / "not there.TaZEN";

    EXPECT_EQ(handOverName(missing), 1u);
    EXPECT_EQ(form.ModeName(), QStringLiteral("Decrypt")) << "the file chose the mode, as at a first start";
    EXPECT_TRUE(form.btnDecrypt().isEnabled());
    EXPECT_EQ(listed(), std::vector<std::string>{missing});
    EXPECT_EQ(sizeOf(0), QStringLiteral("Okänd"));

    form.SetEncryptMode(true);
    EXPECT_EQ(handOverName(encrypted), 1u);
    EXPECT_EQ(form.ModeName(), QStringLiteral("Encrypt"));
    EXPECT_EQ(listed(), std::vector<std::string>{encrypted});
    EXPECT_EQ(sizeOf(0), QStringLiteral("2 KB"));
    EXPECT_EQ(statusOf(0), QStringLiteral("encrypted"));

    // A name that is not UTF-8 keeps its bytes.
    const std::string latin1 = dir / "r\xE4kning.txt";
    EXPECT_EQ(handOverName(latin1), 1u);
    EXPECT_EQ(listed(), (std::vector<std::string>{encrypted, latin1}));
}

TEST_F(StartUp, RecordsThatAreNoHandOverListNothingAndAreAnsweredZero)
{
    form.FormCreate({});
    EXPECT_EQ(handOver(EncodeMessage(kMessageCopyData, kHandOverMarker + 1, HandOverRecord("/tmp/a"))), 0u);
    EXPECT_EQ(handOver(EncodeMessage(0x4B, kHandOverMarker, HandOverRecord("/tmp/a"))), 0u);
    EXPECT_EQ(handOver(EncodeMessage(kMessageCopyData, kHandOverMarker, std::string(1, '\0'))), 0u) << "empty text";
    EXPECT_EQ(handOver(EncodeMessage(kMessageCopyData, kHandOverMarker, {})), 0u) << "no data at all";
    EXPECT_EQ(handOver(EncodeMessage(kMessageCopyData, kHandOverMarker, HandOverRecord("relative.txt"))), 0u)
        << "a relative name cannot be resolved here";
    // A record larger than any name is refused unread, and the connection ends with the answer.
    RawSender oversized(endpoint());
    oversized.Send(EncodeHeader(kMessageCopyData, kHandOverMarker, platform::kLargestMessageData + 1) + "/tmp/a");
    EXPECT_EQ(oversized.Answer(), 0u);
    EXPECT_EQ(oversized.Answer(), std::nullopt);
    EXPECT_EQ(form.Files().Count(), 0);
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(StartUp, TheTextNeverReachesPastCbDataAndARecordCutShortIsRefused)
{
    form.FormCreate({});
    form.SetEncryptMode(true);
    const std::string name = dir / "a.txt";
    // No zero byte within cbData: the next message begins right after it and is not part of the name.
    RawSender sender(endpoint());
    sender.Send(EncodeHeader(kMessageCopyData, kHandOverMarker, static_cast<std::uint32_t>(name.size())) + name +
                EncodeMessage(kMessageBringToFront, 0, {}));
    EXPECT_EQ(sender.Answer(), 1u);
    EXPECT_EQ(sender.Answer(), 1u);
    EXPECT_EQ(listed(), std::vector<std::string>{name});

    // cbData promises more than the sender sends before it stops: what came may be part of another name.
    const std::string other = dir / "b.txt";
    EXPECT_EQ(handOver(EncodeHeader(kMessageCopyData, kHandOverMarker, 4000) + HandOverRecord(other), true), 0u);
    EXPECT_EQ(listed(), std::vector<std::string>{name});
}

TEST_F(StartUp, AnotherUserIsNotHeardEvenWhereTheFolderWouldLetThemIn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can be another user for a moment";
    form.FormCreate({});
    // Opened up, so only the endpoint's own check stands between the other user and the list.
    std::filesystem::permissions(runtime.path(), std::filesystem::perms::all);
    std::filesystem::permissions(endpoint(), std::filesystem::perms::all);
    const std::string record = EncodeMessage(kMessageCopyData, kHandOverMarker, HandOverRecord("/tmp/planted"));
    const sockaddr_un address = localAddress(endpoint());
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // System calls only: 'x' it could not connect, 'a' it was answered, 'e' the connection was ended.
        // The endpoint may cut it off before the record is even sent.
        char what = 'x';
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (::setuid(65534) == 0 && fd >= 0 && ::connect(fd, asAddress(address), sizeof(address)) == 0) {
            [[maybe_unused]] const ssize_t sent = ::send(fd, record.data(), record.size(), MSG_NOSIGNAL);
            char answer[4];
            what = ::recv(fd, answer, sizeof(answer), 0) > 0 ? 'a' : 'e';
        }
        ::_exit(::write(report[1], &what, 1) == 1 ? 0 : 1);
    }
    ::close(report[1]);
    ASSERT_TRUE(serveUntilReadable(report[0]));
    char what = 0;
    EXPECT_EQ(::read(report[0], &what, 1), 1);
    ::close(report[0]);
    test::ReapChild(child, "the other user's sender to end");
    EXPECT_EQ(what, 'e') << "connected, then cut off without an answer";
    EXPECT_EQ(form.Files().Count(), 0);
}

TEST_F(StartUp, ALinkPlantedAtTheLocksNameLeavesAWindowThatWorksAndListensToNobody)
{
    TempDir elsewhere;
    std::filesystem::create_symlink(elsewhere / "made", runtime / platform::kInstanceLockName);
    const std::string name = makeFile("a.txt");
    form.FormCreate({name});
    EXPECT_EQ(listed(), std::vector<std::string>{name});
    EXPECT_FALSE(exists(endpoint()));
    EXPECT_FALSE(exists(elsewhere / "made"));
}

TEST_F(StartUp, ANameAlreadyListedIsAnsweredOnceItsMessageIsShown)
{
    form.FormCreate({});
    const std::string name = makeFile("a.txt");
    form.DropFiles({name});
    EXPECT_EQ(handOverName(name), 1u);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].text, QString::fromStdString(name) + QStringLiteral(" already choosen."));
    EXPECT_EQ(listed(), std::vector<std::string>{name});
}

TEST_F(StartUp, AHandOverDuringACommandIsAnsweredAtOnceAndListedAfterTheListWasEmptied)
{
    const std::string name = makeFile("a.txt");
    const std::string later = makeFile("later.txt");
    form.DropFiles({name});
    std::optional<std::uint32_t> answeredDuringCommand;
    std::optional<std::uint32_t> answered;
    // It arrives while the password is being typed, before the run.
    user.modalScripts.push_back([&](QDialog& dialog) {
        form.WMCopyData(handOverMessage(later), [&](std::uint32_t result) { answered = result; });
        answeredDuringCommand = answered;
        dynamic_cast<TPasswordDlg&>(dialog).edPassword().setText(QStringLiteral("pw"));
        return int(QDialog::Accepted);
    });
    willType(QStringLiteral("pw"));
    form.btnEncrypt().click();
    EXPECT_TRUE(std::filesystem::exists(name + ".TaZEN"));
    EXPECT_EQ(answeredDuringCommand, 1u);
    EXPECT_EQ(listed(), std::vector<std::string>{later}) << "listed after the run emptied the list, not lost";
}

TEST_F(StartUp, ManySendersAtOnceWhileABoxIsOpenAreAllAnsweredAndListedInOrder)
{
    form.FormCreate({});
    const std::string first = makeFile("first.txt");
    form.AddFileList({first});
    constexpr int kSenders = 200;
    std::vector<std::string> expected = {first};
    std::vector<std::optional<std::uint32_t>> answers;
    // They come while the " already choosen." box is open; each leaves once answered, as a second start
    // does, and those past the endpoint's connection limit wait their turn.
    user.whileBoxOpen = [&] {
        std::vector<std::unique_ptr<RawSender>> senders;
        for (int i = 0; i < kSenders; ++i) {
            expected.push_back(dir / ("f" + std::to_string(i)));
            senders.push_back(std::make_unique<RawSender>(endpoint()));
            ASSERT_TRUE(senders.back()->Connected());
            senders.back()->Send(EncodeMessage(kMessageCopyData, kHandOverMarker, HandOverRecord(expected.back())));
        }
        for (std::unique_ptr<RawSender>& sender : senders) {
            answers.push_back(sender->Answer());
            ASSERT_EQ(answers.back(), 1u) << "sender " << answers.size();
            sender.reset();
        }
        EXPECT_EQ(form.Files().Count(), 1 + kSenders) << "listed while the box is open";
    };
    form.AddFileList({first});
    EXPECT_EQ(answers.size(), static_cast<std::size_t>(kSenders));
    EXPECT_EQ(listed(), expected);
}

TEST_F(StartUp, ADuplicateInABurstHoldsNoHandOverBehindItsBox)
{
    form.FormCreate({});
    const std::string first = dir / "first";
    form.AddFileList({first});
    const std::vector<std::string> burst = {dir / "a", first, dir / "b", dir / "c"};
    std::vector<std::unique_ptr<RawSender>> senders;
    for (const std::string& name : burst) {
        senders.push_back(std::make_unique<RawSender>(endpoint()));
        senders.back()->Send(EncodeMessage(kMessageCopyData, kHandOverMarker, HandOverRecord(name)));
    }
    std::optional<std::uint32_t> lateAnswer;
    std::vector<std::string> listedWhileOpen;
    user.whileBoxOpen = [&] {
        lateAnswer = handOverName(dir / "d");
        listedWhileOpen = listed();
    };
    for (const std::unique_ptr<RawSender>& sender : senders)
        EXPECT_EQ(sender->Answer(), 1u);
    EXPECT_EQ(user.texts(), std::vector<QString>{QString::fromStdString(first) + QStringLiteral(" already choosen.")});
    EXPECT_EQ(lateAnswer, 1u);
    EXPECT_EQ(listedWhileOpen, (std::vector<std::string>{first, dir / "a", dir / "b", dir / "c", dir / "d"}));
}

TEST_F(StartUp, IdleConnectionsKeepNoHandOverWaiting)
{
    form.FormCreate({});
    // Far more than the endpoint holds at once, each open and silent until the test ends.
    std::vector<std::unique_ptr<RawSender>> idle;
    for (int i = 0; i < 300; ++i) {
        idle.push_back(std::make_unique<RawSender>(endpoint()));
        ASSERT_TRUE(idle.back()->Connected());
    }
    const std::string name = dir / "a.txt";
    EXPECT_EQ(handOverName(name), 1u);
    EXPECT_EQ(listed(), std::vector<std::string>{name});
}

TEST_F(StartUp, ARequestToComeToTheFrontRestoresAMinimisedWindow)
{
    form.FormCreate({});
    form.show();
    form.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(form.isMinimized());
    EXPECT_EQ(handOver(EncodeMessage(kMessageBringToFront, 0, {})), 1u);
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());
}

// Second starts of the real program

TEST_F(StartUp, ASecondStartHandsOverItsFirstArgumentAndEnds)
{
    form.FormCreate({});
    form.SetDecryptMode(true);
    form.show();
    const std::string first = makeFile("first.txt.TaZEN");
    makeFile("second.txt");

    Ran ran = startProgram({QStringLiteral("first.txt.TaZEN"), QStringLiteral("second.txt")}, dir.path());
    EXPECT_FALSE(ran.crashed) << ran.errors.toStdString();
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(listed(), std::vector<std::string>{first}) << "only the first, made absolute";
    EXPECT_EQ(form.ModeName(), QStringLiteral("Decrypt"));

    form.setWindowState(Qt::WindowMinimized);
    ran = startProgram({}, program.path());
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(listed(), std::vector<std::string>{first}) << "a start without arguments changes nothing";
    EXPECT_FALSE(form.isMinimized()) << "but brings the running window back";

    // A switch is no file name; the running instance is not asked to list "/e".
    ran = startProgram({QStringLiteral("/e"), QString::fromStdString(dir.path())}, dir.path());
    EXPECT_EQ(ran.exitCode, 0);
    EXPECT_TRUE(ran.errors.contains("running already")) << ran.errors.toStdString();
    EXPECT_EQ(listed(), std::vector<std::string>{first});

    // A terminal whose display has gone: the hand-over needs none.
    ran = startProgram({QStringLiteral("second.txt")}, dir.path(),
                       {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_DISPLAY", "none"}, {"DISPLAY", ":9876"}});
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(listed(), (std::vector<std::string>{first, dir / "second.txt"}));
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(StartUp, OpenOpensTheFileAtTheStartAndASecondStartBringsItForwardWithoutASecondCopy)
{
    const std::string plain = makeFile("notes.txt");
    TBlowfish cipher;
    ScriptedFrontend frontend;
    std::string message;
    ASSERT_EQ(EncryptFiles(cipher, {plain}, "secret", message, frontend), kAllFilesDone) << message;
    const std::string encrypted = plain + ".TaZEN";
    bool inMemory = false;
    std::string type;
    ASSERT_EQ(platform::IsInMemory(runtime.path(), inMemory, type), 0);

    willType(QStringLiteral("secret"));
    if (!inMemory)
        user.answers.push_back(BoxAnswer::Ok);
    form.FormCreate({"--open", encrypted});
    form.show();
    // The file is opened from the event loop, once the dialogs exist.
    for (int round = 0; round < 1000 && form.OpenFilesWindow().Count() == 0; ++round)
        QCoreApplication::processEvents();
    ASSERT_EQ(form.OpenFilesWindow().Count(), 1);
    ASSERT_EQ(user.shellOpened.size(), 1U);

    const Ran ran = startProgram({QStringLiteral("--open"), QStringLiteral("notes.txt.TaZEN")}, dir.path());
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(form.OpenFilesWindow().Count(), 1);
    EXPECT_EQ(user.shellOpened.size(), 1U) << "no second copy, no second password";
    EXPECT_EQ(listFolder(runtime / kOpenCopiesFolder).size(), 1U);
    form.OpenFilesWindow().CloseAll();
    EXPECT_TRUE(listFolder(runtime / kOpenCopiesFolder).empty());
}

TEST_F(StartUp, TheFileManagersActionsListWhatADropInTheirModeTakesAndSayWhatTheyLeftOut)
{
    const ScopedWorkingFolder here(dir.path());
    makeFile("a.txt");
    makeFile("b.TaZEN");
    TForm1 started(user);
    started.HandleCommandLine({"--decrypt", "a.txt", "", "b.TaZEN", "gone.TaZEN"});
    EXPECT_EQ(started.ModeName(), QStringLiteral("Decrypt"));
    EXPECT_EQ(started.Files().Names(), std::vector<std::string>{dir / "b.TaZEN"});
    EXPECT_EQ(user.texts(), std::vector<QString>{QStringLiteral("Not listed for decryption:\n\r") +
                                                 QString::fromStdString(dir / "a.txt") +
                                                 QStringLiteral(" is not a TaZEN encrypted file.\n\r") +
                                                 QString::fromStdString(dir / "gone.TaZEN") +
                                                 QStringLiteral(" was not found, or is not a file.")});
    user.boxes.clear();

    form.FormCreate({});
    const std::string kept = makeFile("kept.txt.TaZEN");
    form.SetDecryptMode(true);
    form.AddFileList({kept});
    form.show();
    const std::string p = makeFile("p.txt");
    const std::string q = makeFile("q.txt.TaZEN");
    Ran ran =
        startProgram({QStringLiteral("--encrypt"), QStringLiteral("p.txt"), QStringLiteral("q.txt.TaZEN")}, dir.path());
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(form.ModeName(), QStringLiteral("Encrypt")) << "the mode changed, so the list was emptied first";
    EXPECT_EQ(listed(), std::vector<std::string>{p});
    EXPECT_EQ(user.texts(), std::vector<QString>{QStringLiteral("Not listed for encryption:\n\r") +
                                                 QString::fromStdString(q) + QStringLiteral(" is encrypted already.")});

    // A folder stands for the files an /e add finds in it, after the sub-folder question.
    std::filesystem::create_directories(dir / "folder/sub");
    const std::string inside = makeFile("folder/r.txt");
    makeFile("folder/sub/deeper.txt");
    makeFile("folder/s.TaZEN");
    user.answers = {BoxAnswer::No};
    ran = startProgram({QStringLiteral("--encrypt"), QString::fromStdString(dir / "folder")}, program.path());
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(listed(), (std::vector<std::string>{p, inside})) << "in the same mode the list grows";
    ASSERT_EQ(user.boxes.size(), 3u);
    EXPECT_EQ(user.boxes[1].text, QStringLiteral("Include sub directories for ") +
                                      QString::fromStdString(dir / "folder") + QLatin1Char('?'));
    EXPECT_TRUE(user.boxes[2].text.endsWith(QStringLiteral("s.TaZEN is encrypted already.")));
    EXPECT_FALSE(form.EndedWith());
}

TEST_F(StartUp, ASecondStartWhoseNameIsNotTakenSaysSoAndEndsWithOne)
{
    // The queue is full while a box holds the rest of its batch.
    form.FormCreate({});
    const std::string first = makeFile("first.txt");
    form.AddFileList({first});
    ASSERT_GE(TForm1::kMostWaitingNames, 10'000u);
    Ran refused;
    user.whileBoxOpen = [&] {
        for (std::size_t i = 0; i < TForm1::kMostWaitingNames; ++i)
            form.WMCopyData(handOverMessage(dir / ("q" + std::to_string(i))),
                            [](std::uint32_t result) { EXPECT_EQ(result, 1u); });
        refused = startProgram({QStringLiteral("late.txt")}, dir.path());
    };
    form.AddFileList({first, dir / "after"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.errors.contains((dir / "late.txt").c_str())) << refused.errors.toStdString();
    EXPECT_EQ(form.Files().Count(), 2 + static_cast<int>(TForm1::kMostWaitingNames));
    EXPECT_FALSE(form.IsListed(dir / "late.txt"));
}

// Starts the program as the running instance and returns once it holds the lock and its endpoint exists
// (it takes the lock first, then makes the endpoint).
void startFirstInstance(QProcess& process, const QString& program, const std::string& endpoint,
                        const std::string& runtime)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QFileSystemWatcher watcher({QString::fromStdString(runtime)});
    QEventLoop loop;
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, &loop, [&] {
        if (std::filesystem::exists(endpoint))
            loop.quit();
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(kHangGuardMs, &loop, &QEventLoop::quit);
    process.start(program, {});
    loop.exec();
}

TEST_F(StartUp, AnInstanceThatWasKilledLeavesNothingInTheWayOfTheNextOne)
{
    // A real first instance, killed without a chance to clean up: its lock file and socket stay behind.
    QProcess killed;
    startFirstInstance(killed, programCopy(), endpoint(), runtime.path());
    ASSERT_EQ(killed.state(), QProcess::Running);
    killed.kill();
    killed.waitForFinished();
    ASSERT_TRUE(std::filesystem::exists(endpoint()));
    ASSERT_TRUE(std::filesystem::exists(runtime / platform::kInstanceLockName));

    form.FormCreate({});
    EXPECT_FALSE(form.EndedWith()) << "this one is the running instance now";
    const std::string name = makeFile("a.txt");
    const Ran ran = startProgram({QString::fromStdString(name)}, dir.path());
    EXPECT_EQ(ran.exitCode, 0) << ran.errors.toStdString();
    EXPECT_EQ(listed(), std::vector<std::string>{name});
}

TEST_F(StartUp, ASystemRequestToEndClosesTheWindowAsTheCloseBoxDoes)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        writeFile(SettingsFilePath(), "[Files]\nSourceFiles=0\n");
        QProcess first;
        startFirstInstance(first, programCopy(), endpoint(), runtime.path());
        ASSERT_EQ(first.state(), QProcess::Running);
        // Its event loop runs once it answers; the signals are taken from just before that.
        RawSender probe(endpoint());
        probe.Send(EncodeMessage(kMessageBringToFront, 0, {}));
        ASSERT_EQ(probe.Answer(), 1u);
        ::kill(static_cast<pid_t>(first.processId()), signal);
        ASSERT_TRUE(first.waitForFinished(kHangGuardMs));
        EXPECT_EQ(first.exitStatus(), QProcess::NormalExit) << "signal " << signal;
        EXPECT_EQ(first.exitCode(), 0);
        EXPECT_FALSE(std::filesystem::exists(endpoint())) << "it tidied up after itself";
        const platform::TIniFile settings(SettingsFilePath());
        EXPECT_EQ(settings.ReadInteger(kSectionVisuals, "Width", -1), 500) << "and saved its bounds";
        EXPECT_EQ(settings.ReadInteger(kSectionVisuals, "Left", -1), 400);
    }
}

// Geometry

TEST_F(StartUp, WithoutASettingsFileTheWindowTakesTheDefaultBoundsAndSavesNothing)
{
    form.FormCreate({});
    form.show();
    EXPECT_EQ(form.frameGeometry(), QRect(400, 250, 500, 500));
    form.Avsluta1().trigger();
    EXPECT_FALSE(std::filesystem::exists(SettingsFilePath()));
}

TEST_F(StartUp, TheSavedBoundsComeBackUnchangedFromStartToStart)
{
    writeFile(SettingsFilePath(), "[Visuals]\nLeft=120\nTop=80\nWidth=640\nHeight=420\n");
    const platform::TIniFile settings(SettingsFilePath());
    const auto saved = [&] {
        return QRect(
            settings.ReadInteger(kSectionVisuals, "Left", -1), settings.ReadInteger(kSectionVisuals, "Top", -1),
            settings.ReadInteger(kSectionVisuals, "Width", -1), settings.ReadInteger(kSectionVisuals, "Height", -1));
    };
    for (int start = 0; start < 3; ++start) {
        TForm1 started(user);
        started.FormCreate({});
        started.show();
        EXPECT_EQ(started.frameGeometry(), QRect(120, 80, 640, 420)) << "start " << start;
        // The close box one time, File > Exit the next.
        start % 2 == 0 ? (void)started.close() : started.Avsluta1().trigger();
        EXPECT_EQ(saved(), QRect(120, 80, 640, 420)) << "start " << start;
    }

    TForm1 moved(user);
    moved.FormCreate({});
    moved.show();
    moved.move(30, 40);
    moved.resize(333, 222);
    const QRect frame = moved.frameGeometry();
    ASSERT_NE(frame.size(), moved.size()) << "the platform draws no frame, so nothing here would be shown";
    moved.close();
    EXPECT_EQ(saved(), frame) << "the outer bounds, frame included";
}

TEST_F(StartUp, BoundsThatCannotBeShownAreBroughtBackOnTheScreen)
{
    writeFile(SettingsFilePath(), "[Visuals]\nLeft=-30000\nTop=90000\nWidth=0\nHeight=-5\n");
    form.FormCreate({});
    form.show();
    const QRect frame = form.frameGeometry();
    EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(frame.topLeft()));
    EXPECT_GE(frame.width(), 120);
    EXPECT_GE(frame.height(), 120);
}

TEST_F(StartUp, AFailedSaveIsSwallowed)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes to a read-only folder";
    writeFile(SettingsFilePath(), "[Files]\nSourceFiles=1\n");
    form.FormCreate({});
    form.show();
    std::filesystem::permissions(program.path(),
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readText(SettingsFilePath()), "[Files]\nSourceFiles=1\n");
}

} // namespace
} // namespace tazen::test
