// Fuzzes tazen-cli's command line: the input split at its zero bytes into arguments after the program name.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz_support.h"

#include "cli/options.h"
#include "format/fileformat.h"
#include "platform/folders.h"
#include "platform/terminal.h"

namespace {

using tazen::cli::Options;
using tazen::cli::ParseResult;

bool known(const std::string& command)
{
    return command == "encrypt" || command == "decrypt" || command == "check" || command == "shred";
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments{"tazen-cli"};
    if (size > 0) {
        const std::string text(reinterpret_cast<const char*>(data), size);
        for (std::size_t start = 0;;) {
            const std::size_t zero = text.find('\0', start);
            arguments.push_back(text.substr(start, zero - start));
            if (zero == std::string::npos)
                break;
            start = zero + 1;
        }
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);

    Options options;
    const ParseResult result = tazen::cli::parseOptions(static_cast<int>(arguments.size()), argv.data(), options);
    if (result.run && options.command == "passphrase") {
        // The one command without files: at most a number of words.
        FUZZ_CHECK(arguments[1] == "passphrase" && arguments.size() <= 3 && options.files.empty());
        FUZZ_CHECK(options.words >= 1 && options.words <= tazen::cli::kMostPassphraseWords);
        FUZZ_CHECK(result.out.empty() && result.err.empty());
    } else if (result.run) {
        FUZZ_CHECK(known(options.command) && options.command == arguments[1]);
        FUZZ_CHECK(!options.files.empty());
        FUZZ_CHECK(result.out.empty() && result.err.empty());
        FUZZ_CHECK(options.passwordFiles.empty() || !options.passwordFromStdin);
        // decrypt takes .TaZEN files and folders, which stand for the .TaZEN files in them; - is the filter.
        if (options.command == "decrypt" && !options.pipeline)
            for (const std::string& name : options.files)
                FUZZ_CHECK(tazen::IsEncryptedName(name) || tazen::platform::ExistsAsFolder(name));
        FUZZ_CHECK(options.pipeline == (options.files == std::vector<std::string>{"-"} && options.command != "shred"));
        if (options.command != "encrypt")
            FUZZ_CHECK(!options.selfExtract && !options.source);
        if (options.command == "shred")
            FUZZ_CHECK(options.passwordFiles.empty() && !options.passwordFromStdin);
        // Every file is one of the arguments.
        for (const std::string& name : options.files)
            FUZZ_CHECK(std::find(arguments.begin() + 2, arguments.end(), name) != arguments.end());
    } else if (result.exitCode == tazen::cli::kExitDone) {
        // Help or version, on standard output.
        FUZZ_CHECK(!result.out.empty() && result.err.empty());
    } else {
        FUZZ_CHECK(result.exitCode == tazen::cli::kExitUsage);
        FUZZ_CHECK(result.out.empty() && result.err.rfind("tazen-cli: ", 0) == 0);
        FUZZ_CHECK(result.err.ends_with("\nTry 'tazen-cli --help'.\n"));
        // The reason is one line that cannot drive a terminal, whatever the arguments held.
        const std::string reason = result.err.substr(0, result.err.find('\n'));
        FUZZ_CHECK(reason.size() + 25 == result.err.size());
        FUZZ_CHECK(tazen::platform::Printable(reason) == reason);
    }
    return 0;
}
