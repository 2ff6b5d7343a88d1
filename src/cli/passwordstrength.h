// What tazen-cli encrypt says about the password's strength, and the rule --min-strength sets.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

namespace tazen::cli {

// Says on standard error how long a graphics card takes to guess the password when it is below "Strong"
// (unless quiet), and refuses it when it is below minimum. -1 when encryption may go on, else the exit code.
int CheckPasswordStrength(const char* password, std::optional<int> minimum, bool quiet);

} // namespace tazen::cli
