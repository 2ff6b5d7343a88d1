// tazen-cli as a filter: encrypt, decrypt or check from standard input to standard output.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/options.h"

#include "cipher/cryptbase.h"

#include <string>

namespace tazen::cli {

// Runs options.command ("encrypt", "decrypt" or "check") on standard input; returns the exit code. The bytes
// written are those the file mode writes into FILE.TaZEN or FILE; a wrong password writes nothing. The
// password is wiped once the key is made. --progress-fd gets "# Encrypting standard input" (or Decrypting),
// and percentages when standard input is a regular file, whose length tells how much is to come.
int RunPipeline(const Options& options, Secret& password);

// -1, or after "NAME: input file is output file" for each, the exit code, when standard output is a file
// the command reads and would overwrite (the same regular file or block device, under any name): a
// filter's standard input or password file, or a file check answers for. Nothing is read before.
int RefuseOutputIntoInput(const Options& options);

} // namespace tazen::cli
