// The single-instance rule before the window: take the lock, or hand the command line over and end.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/secondstart.h"

#include "platform/folders.h"
#include "platform/printable.h"
#include "platform/terminal.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace tazen {

namespace {

using namespace std::chrono_literals;

// How long a second instance looks for the endpoint of one that holds the lock, and waits for an answer. The
// running instance answers a name as soon as it is queued, so the answer comes at once unless it hangs.
constexpr auto kFindPatience = 2s;
constexpr auto kAnswerPatience = 10s;
// How often it starts over when the running instance ended while it was being talked to.
constexpr int kMostReaches = 3;

void warn(const std::string& text)
{
    std::fprintf(stderr, "tazen: %s\n", text.c_str());
}

// The token a launcher or file manager gave this start to bring a window to the front with; the running
// window can use it where the compositor lets only windows with such a token come forward (Wayland).
std::string activationToken()
{
    const char* token = std::getenv("XDG_ACTIVATION_TOKEN");
    return token != nullptr ? token : "";
}

enum class HandOver
{
    Done,         // the running instance took the names (or was only asked to come to the front)
    Failed,       // it refused one, did not answer or could not be found; said on standard error
    BecameRunning // it had ended, and this process holds the lock now
};

// Sends the first argument, when there is one, or after "--encrypt" or "--decrypt" every file with its mode,
// to the running instance and asks it to come to the front.
HandOver handOverCommandLine(platform::InstanceLock& lock, const std::vector<std::string>& arguments);

} // namespace

bool IsFolderSwitch(const std::string& argument)
{
    return argument == "/d" || argument == "/e";
}

bool IsModeSwitch(const std::string& argument)
{
    return argument == kSwitchDecryptFiles || argument == kSwitchEncryptFiles;
}

std::optional<std::string> ArgumentsNotTaken(const std::vector<std::string>& arguments)
{
    if (!arguments.empty() && arguments.front() == kSwitchOpenFile) {
        if (arguments.size() == 2)
            return std::nullopt;
        if (arguments.size() < 2)
            return std::string("tazen: --open needs the encrypted file to open: tazen --open FILE.TaZEN\n");
        return "tazen: only one file is opened, " + platform::Printable(arguments[1]) +
               "; the others were not taken.\n";
    }
    if (arguments.size() < 2 || IsFolderSwitch(arguments.front()) || IsModeSwitch(arguments.front()))
        return std::nullopt;
    const std::size_t others = arguments.size() - 1;
    return "tazen: only the first file, " + platform::Printable(arguments.front()) + ", is taken; the " +
           (others == 1 ? std::string("other one was") : "other " + std::to_string(others) + " were") +
           " not. To give several, put --encrypt or --decrypt before them: tazen --encrypt FILE...\n";
}

std::vector<std::string> NamesToHandOver(const std::vector<std::string>& arguments)
{
    std::vector<std::string> names;
    if (arguments.empty() || IsFolderSwitch(arguments.front()))
        return names;
    if (arguments.front() == kSwitchOpenFile) {
        if (arguments.size() > 1 && !arguments[1].empty())
            names.push_back(platform::AbsoluteName(arguments[1]));
        return names;
    }
    if (!IsModeSwitch(arguments.front()))
        return arguments.front().empty() ? names : std::vector{platform::AbsoluteName(arguments.front())};
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument)
        if (!argument->empty())
            names.push_back(platform::AbsoluteName(*argument));
    return names;
}

InstanceStart StartInstance(const std::vector<std::string>& arguments)
{
    InstanceStart start;
    std::string reason;
    const std::string folder = platform::PrivateRuntimeFolder(reason);
    if (folder.empty()) {
        warn("no private runtime folder, so a second TaZEN cannot find this one: " + reason);
        start.aloneReason = reason;
        return start;
    }
    auto lock = std::make_unique<platform::InstanceLock>(folder);
    platform::InstanceLock::State state = platform::InstanceLock::State::Acquired;
    if (lock->TryAcquire(state) != 0) {
        warn("cannot open the instance lock in " + folder + ", so a second TaZEN cannot find this one");
        start.aloneReason = "the instance lock cannot be opened";
        return start;
    }
    if (state == platform::InstanceLock::State::Held)
        if (const HandOver handOver = handOverCommandLine(*lock, arguments); handOver != HandOver::BecameRunning) {
            start.handedOverWith = handOver == HandOver::Done ? 0 : 1;
            return start;
        }
    if (start.listener.Listen(lock->EndpointPath(), reason) != 0)
        warn("a second TaZEN cannot hand its files to this one: " + reason);
    start.lock = std::move(lock);
    return start;
}

namespace {

HandOver handOverCommandLine(platform::InstanceLock& lock, const std::vector<std::string>& arguments)
{
    // A switch is no file name, and a folder add belongs to the instance it was given to.
    const std::vector<std::string> names = NamesToHandOver(arguments);
    const std::string first = arguments.empty() ? std::string() : arguments.front();
    if (IsFolderSwitch(first))
        warn("TaZEN is running already; a folder is added by starting TaZEN with it when none runs");
    const std::uint32_t kind = first == kSwitchEncryptFiles   ? platform::kMessageHandOverEncrypt
                               : first == kSwitchDecryptFiles ? platform::kMessageHandOverDecrypt
                               : first == kSwitchOpenFile     ? platform::kMessageHandOverOpen
                                                              : platform::kMessageCopyData;
    const std::string token = activationToken();
    const std::string frontRecord = token.empty() ? std::string() : platform::HandOverRecord(token);
    std::size_t taken = 0;
    const auto what = [&] {
        return taken < names.size() ? platform::Printable(names[taken]) + " was not handed to the running TaZEN: "
                                    : std::string("the running TaZEN was not brought to the front: ");
    };
    for (int reach = 0; reach < kMostReaches; ++reach) {
        platform::EndpointClient client;
        switch (platform::ReachRunningInstance(lock, client, kFindPatience)) {
        case platform::Reach::BecameRunning:
            return HandOver::BecameRunning;
        case platform::Reach::NobodyThere:
            warn(what() + "it holds the instance lock but does not answer");
            return HandOver::Failed;
        case platform::Reach::Connected:
            break;
        }
        std::uint32_t result = 1;
        auto outcome = platform::EndpointClient::Outcome::Answered;
        if (names.empty())
            outcome = client.Send(platform::kMessageBringToFront, 0, frontRecord, kAnswerPatience, result);
        // One record a name, each after the one before was taken.
        while (taken < names.size() && result == 1 && outcome == platform::EndpointClient::Outcome::Answered) {
            outcome = client.Send(kind, platform::kHandOverMarker, platform::HandOverRecord(names[taken]),
                                  kAnswerPatience, result);
            if (outcome == platform::EndpointClient::Outcome::Answered && result == 1)
                ++taken;
        }
        switch (outcome) {
        case platform::EndpointClient::Outcome::Closed:
            continue; // it ended before it answered: look again, perhaps to become the running instance
        case platform::EndpointClient::Outcome::TimedOut:
            warn(what() + "it did not answer");
            return HandOver::Failed;
        case platform::EndpointClient::Outcome::Answered:
            break;
        }
        if (result != 1) {
            warn(what() + "it refused it");
            return HandOver::Failed;
        }
        // The names are taken; whether the window comes forward changes nothing about that.
        if (!names.empty())
            client.Send(platform::kMessageBringToFront, 0, frontRecord, kAnswerPatience, result);
        return HandOver::Done;
    }
    warn(what() + "it kept ending before it answered");
    return HandOver::Failed;
}

} // namespace

} // namespace tazen
