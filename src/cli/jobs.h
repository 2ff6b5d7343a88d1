// tazen-cli's -j: encrypt and decrypt over several files at a time, reported as one run over the list.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/terminal_frontend.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tazen::cli {

// Runs encrypt or decrypt on each file as a run of its own, up to jobs at a time, and returns what one run
// over the whole list returns: kAllFilesDone, or the position of the file it stopped at (of which the
// frontend is told), with that file's message. Files are started in list order; once one fails, none
// starts, and the ones under way finish. The same pre-check comes first, and a decryption stops before a
// file of the wrong password just as one run would. The files' own messages are shown in list order; done
// tells which files were done.
int RunInParallel(bool encrypting, const std::vector<std::string>& files, std::string_view password,
                  std::string& message, TerminalFrontend& frontend, int jobs, std::vector<bool>& done);

} // namespace tazen::cli
