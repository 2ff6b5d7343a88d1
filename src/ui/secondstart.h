// The single-instance rule, decided before anything of a window exists: a second start hands its file to the
// running TaZEN and ends without needing a display, so a stale DISPLAY or WAYLAND_DISPLAY never loses a file.
// No Qt here: the program calls this before it makes its application object.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/instance.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tazen {

// What the rule found for this start.
struct InstanceStart
{
    // Held when this process is the running instance.
    std::unique_ptr<platform::InstanceLock> lock;
    // With the lock: the endpoint, listening already (unless it could not be made, which was said).
    platform::EndpointListener listener;
    // Set when no lock can be used: this process runs alone and no second start can find it.
    std::optional<std::string> aloneReason;
    // Set when another instance runs: 0 once it took the name (or came to the front), 1 when not. The
    // program ends with it.
    std::optional<int> handedOverWith;
};

// Takes the instance lock in the user's private runtime folder and listens at its endpoint, or hands the first argument
// (made absolute) to the instance that holds it, with the activation token this process was started with, and asks that
// instance to come to the front. What goes wrong is said on standard error.
InstanceStart StartInstance(const std::vector<std::string>& arguments);

// The program's two switches, "/e" and "/d", each followed by a folder.
bool IsFolderSwitch(const std::string& argument);
// The file manager's actions: the files that follow, listed in that mode.
inline constexpr const char* kSwitchEncryptFiles = "--encrypt";
inline constexpr const char* kSwitchDecryptFiles = "--decrypt";
bool IsModeSwitch(const std::string& argument);
// The file that follows is opened in place (decrypted into a private folder, encrypted again when it changes).
inline constexpr const char* kSwitchOpenFile = "--open";
// What a start says on standard error when it names several files without a mode switch, of which only the
// first is taken; nothing otherwise.
std::optional<std::string> ArgumentsNotTaken(const std::vector<std::string>& arguments);
// The names a start lists or hands over, made absolute: the first argument, every one after a mode switch, or
// the one after --open.
std::vector<std::string> NamesToHandOver(const std::vector<std::string>& arguments);

} // namespace tazen
