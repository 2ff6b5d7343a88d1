// tazen-cli open: an encrypted file decrypted into a private folder in memory, opened with an application, and
// encrypted back each time the application saves it; and the copies a crash left behind.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cipher/secret.h"
#include "cli/options.h"

namespace tazen::cli {

// The command; password is wiped. The exit code.
int RunOpen(const Options& options, Secret& password);

} // namespace tazen::cli
