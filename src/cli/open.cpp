// tazen-cli open: the engine's open file from a terminal, waiting on standard input or on the application.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/open.h"

#include "cli/terminalfrontend.h"

#include "engine/opened.h"
#include "platform/folders.h"
#include "platform/opencopies.h"
#include "platform/printable.h"
#include "platform/terminal.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace tazen::cli {

namespace {

// Without a pidfd the application's end is looked for this often.
constexpr std::chrono::milliseconds kEndLookInterval{200};

void tell(const Options& options, const std::string& text)
{
    if (!options.quiet)
        std::fputs((platform::Printable(text) + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string timeOfDay(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    char text[16] = {};
    if (::localtime_r(&seconds, &local) == nullptr || std::strftime(text, sizeof text, "%H:%M:%S", &local) == 0)
        return {};
    return text;
}

// What a save back did, as it happens.
void report(const Options& options, const OpenedFile& file, SaveResult result, TerminalFrontend& frontend)
{
    if (result == SaveResult::Saved)
        tell(options, "Saved into " + file.EncryptedFile() + " at " + timeOfDay(*file.Status().savedAt));
    else if (result == SaveResult::Failed)
        frontend.Say("Could not save " + file.CopyPath() + " into " + file.EncryptedFile() +
                     ", which is kept as it "
                     "was:\n\r" +
                     file.Status().reason);
}

// A save is let finish when Ctrl+C comes, and the last one is made after it: a cancelled save would leave
// the change in the copy alone. A second Ctrl+C ends the program, and the copy stays for --left-behind.
class SavingFrontend final : public TerminalFrontend
{
public:
    SavingFrontend() : TerminalFrontend({}, DisplayOptions{}) {}
    bool CancelAsked() override { return false; }
};

int interrupted()
{
    return 128 + platform::InterruptSignal();
}

int openLeftBehind(const Options& options, Secret& password, TerminalFrontend& frontend)
{
    const WipeOnExit<Secret> wipe(password);
    std::string reason;
    const OpenPlace place = FindOpenPlace(reason);
    if (place.folder.empty()) {
        frontend.Say(Text(kNoOpenPlace, {reason}));
        return kExitFailed;
    }
    std::vector<LeftBehindCopy> copies;
    if (const ErrorCode error = FindLeftBehind(place, copies)) {
        frontend.Say("cannot list " + place.folder + ": " + platform::ErrorText(error));
        return kExitFailed;
    }
    if (copies.empty()) {
        tell(options, "No copies left behind in " + place.folder);
        return kExitDone;
    }
    int code = kExitDone;
    for (const LeftBehindCopy& copy : copies) {
        const std::string known = copy.encryptedFile.empty() ? "an unknown encrypted file" : copy.encryptedFile;
        if (copy.copy.empty())
            tell(options, copy.folder + ": no copy in it (of " + known + ")");
        else
            tell(options, copy.copy + ": a copy of " + known);
        if (options.discard || (options.saveBack && copy.copy.empty())) {
            if (const ErrorCode error = DiscardLeftBehind(copy)) {
                frontend.Say("cannot remove " + copy.folder + ": " + platform::ErrorText(error));
                code = kExitFailed;
            } else {
                tell(options, "  discarded: overwritten and removed");
            }
        } else if (options.saveBack) {
            Secret each;
            each.value = password.value;
            std::string message;
            if (SaveLeftBehind(copy, each, frontend, message) == SaveResult::Saved) {
                tell(options, "  saved back into " + copy.encryptedFile + ", and the copy removed");
            } else {
                frontend.Say(message);
                code = kExitFailed;
            }
        }
        if (platform::InterruptSignal() != 0)
            return interrupted();
    }
    return code;
}

} // namespace

int RunOpen(const Options& options, Secret& password)
{
    DisplayOptions display;
    display.progressLine = !options.quiet && platform::IsTerminal(platform::kStandardError);
    display.progressDescriptor = options.progressDescriptor;
    if (options.leftBehind) {
        TerminalFrontend frontend({}, DisplayOptions{});
        return openLeftBehind(options, password, frontend);
    }
    const std::string name = platform::AbsoluteName(options.files[0]);
    TerminalFrontend frontend({name}, display);
    OpenedFile file(name);
    const OpenOutcome outcome = file.Open(password, frontend, options.allowDisk);
    if (!outcome.Opened()) {
        frontend.Say(OpenFailureText(name, outcome));
        if (outcome.failure == OpenFailure::NotInMemory) {
            frontend.Say("nothing was decrypted; --allow-disk puts the copy there all the same");
            return kExitUsage;
        }
        return platform::InterruptSignal() != 0 ? interrupted() : kExitFailed;
    }
    tell(options, "The decrypted copy is " + file.CopyPath());
    if (!outcome.place.inMemory)
        frontend.Say("warning: " + Text(kNotInMemory, {outcome.place.folder, outcome.place.fileSystem}));

    // Saves tell no progress line: it would run into the lines above.
    SavingFrontend saves;
    platform::ChildProgram application;
    std::vector<std::string> command = options.withCommand;
    const bool waitForCommand = !command.empty();
    if (!waitForCommand)
        command = {"xdg-open"};
    command.push_back(file.CopyPath());
    if (const ErrorCode error = application.Start(command)) {
        frontend.Say("cannot start " + command[0] + ": " + platform::ErrorText(error));
        if (waitForCommand) {
            report(options, file, file.Close(saves), saves);
            return kExitFailed;
        }
    }
    if (!waitForCommand) {
        // xdg-open ends once the application is started.
        if (const int status = application.Wait(); status != 0)
            frontend.Say("xdg-open could not open the copy (status " + std::to_string(status) +
                         "); open it yourself: " + file.CopyPath());
        tell(options, "Press Enter when you are done");
    }

    for (;;) {
        std::vector<int> watched{file.WatchHandle()};
        watched.push_back(waitForCommand ? application.Handle() : platform::kStandardInput);
        const bool looking = waitForCommand && application.Handle() < 0;
        if (looking)
            watched.pop_back();
        std::vector<bool> ready;
        const ErrorCode error =
            platform::WaitReadable(watched, ready, looking ? kEndLookInterval : std::chrono::milliseconds(-1));
        if (platform::InterruptSignal() != 0)
            break;
        if (error == EINTR)
            continue;
        if (error != 0) {
            frontend.Say("cannot wait: " + platform::ErrorText(error));
            break;
        }
        if (ready[0])
            report(options, file, file.HandleWatchEvents(saves), saves);
        if (waitForCommand) {
            if (application.Ended())
                break;
        } else if (ready[1]) {
            // A line, or the end of the input.
            Secret line;
            static_cast<void>(platform::ReadLine(platform::kStandardInput, line.value)); // either ends the wait
            break;
        }
    }
    const SaveResult last = file.Close(saves);
    report(options, file, last, saves);
    if (last == SaveResult::Failed) {
        frontend.Say("the copy is kept in " + file.Folder() +
                     "; tazen-cli open --left-behind --save-back saves it back later");
        return kExitFailed;
    }
    tell(options, "The copy is removed");
    if (platform::InterruptSignal() != 0)
        return interrupted();
    if (waitForCommand)
        if (const std::optional<int> status = application.Ended(); status && *status != 0) {
            frontend.Say(command[0] + " ended with status " + std::to_string(*status));
            return kExitFailed;
        }
    return kExitDone;
}

} // namespace tazen::cli
