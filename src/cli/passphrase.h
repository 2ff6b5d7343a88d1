// tazen-cli passphrase: a passphrase of words drawn at random from the EFF's long word list.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tazen::cli {

// The command: the passphrase on standard output; the exit code.
int RunPassphrase(int count);

} // namespace tazen::cli
