// tazen-cli as a filter: encrypt, decrypt or check from standard input to standard output.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/cryptbase.h"

#include <string>

namespace tazen::cli {

// Runs command ("encrypt", "decrypt" or "check") on standard input; returns the exit code. The bytes written
// are those the file mode writes into FILE.TaZEN or FILE; a wrong password writes nothing. The password is
// wiped once the key is made.
int RunPipeline(const std::string& command, Secret& password);

} // namespace tazen::cli
