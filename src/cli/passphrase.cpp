// tazen-cli passphrase: a passphrase of words drawn at random from the EFF's long word list.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/passphrase.h"

#include "cipher/cryptbase.h"
#include "cli/options.h"
#include "engine/passphrase.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/terminal.h"

#include <cerrno>
#include <cstdio>

namespace tazen::cli {

int RunPassphrase(int count)
{
    std::string reason;
    const std::vector<std::string> words = ReadWordList(platform::ExecutableFolder() + kWordListName, reason);
    std::string passphrase = words.empty() ? std::string() : MakePassphrase(words, count, reason);
    if (passphrase.empty()) {
        std::fprintf(stderr, "tazen-cli: %s\n", reason.c_str());
        return kExitFailed;
    }
    passphrase += '\n';
    std::fputs(passphrase.c_str(), stdout);
    SecureFill(passphrase.data(), 0, passphrase.size());
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tazen-cli: cannot write the passphrase: %s\n", platform::ErrorText(errno).c_str());
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace tazen::cli
