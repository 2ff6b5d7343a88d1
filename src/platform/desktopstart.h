// A terminal program started from the desktop without a terminal (a double click in a file manager): started
// again inside the desktop's terminal window, or else asking and telling through the desktop's dialog program.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/secret.h"
#include "platform/files.h"

#include <optional>
#include <string>

namespace tazen::platform {

// The program that shows a dialog where there is no terminal.
enum class DialogProgram
{
    None,
    Zenity,
    Kdialog
};

struct DesktopStart
{
    // This process started the program again in a terminal window and did nothing else: it ends with this code.
    std::optional<int> handedOff;
    // No terminal and no terminal window: the questions and the outcome go through this program.
    DialogProgram dialogs = DialogProgram::None;
};

// Set in the environment of the program started inside a terminal window, so it never starts another.
inline constexpr const char* kInTerminalMarker = "TAZEN_IN_TERMINAL_WINDOW";

// For a program that asks its user on the terminal. With no terminal (no controlling terminal, standard input
// not a terminal) but a display (DISPLAY or WAYLAND_DISPLAY), starts selfPath again with argv's arguments inside
// the first terminal program found on PATH (x-terminal-emulator, GNOME's, KDE's, Xfce's, xterm), waits for it
// and gives its exit status; where there is none, finds zenity or kdialog. Inside that window, the program
// waits for Enter when it ends, so the outcome can be read. Otherwise, and with neither program, nothing.
DesktopStart StartFromDesktop(const std::string& selfPath, int argc, const char* const* argv);

// The password, typed into the dialog program and read back from a pipe, never through a command line or the
// environment: ECANCELED when the user cancelled, EIO when the dialog program failed.
ErrorCode AskPasswordInDialog(DialogProgram program, const std::string& title, SecretString& password);
// yes for the dialog's Yes; No is an answer too, and zenity's default. Texts are shown as the terminal shows them.
ErrorCode AskInDialog(DialogProgram program, const std::string& title, const std::string& question, bool& yes);
// The outcome, shown as an error or as information; waits until the user has closed it.
void TellInDialog(DialogProgram program, bool failure, const std::string& title, const std::string& text);

} // namespace tazen::platform
