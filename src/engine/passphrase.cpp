// Passphrases of words drawn at random from the EFF's long word list.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/passphrase.h"

#include "cipher/cryptbase.h"
#include "platform/files.h"
#include "platform/printable.h"
#include "platform/random.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>

namespace tazen {

std::vector<std::string> ReadWordList(const std::string& path, std::string& reason)
{
    std::ifstream file(path);
    if (!file) {
        reason = "cannot read the word list " + platform::Printable(path) + ": " + platform::ErrorText(errno);
        return {};
    }
    std::vector<std::string> words;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string field;
        std::string last;
        while (fields >> field)
            last = field;
        if (!last.empty())
            words.push_back(last);
    }
    // A cut or damaged list would give shorter passphrases than the help promises, or the same word again.
    std::vector<std::string> distinct = words;
    std::sort(distinct.begin(), distinct.end());
    const auto count = static_cast<std::size_t>(std::unique(distinct.begin(), distinct.end()) - distinct.begin());
    if (count != kWordListSize || words.size() != kWordListSize) {
        reason = "the word list " + platform::Printable(path) + " holds ";
        if (count == words.size())
            reason += std::to_string(count) + " distinct " + (count == 1 ? "word" : "words");
        else
            reason += std::to_string(words.size()) + " words, " + std::to_string(count) + " of them distinct";
        reason += ", not " + std::to_string(kWordListSize) + (count == words.size() ? "" : " distinct words");
        return {};
    }
    return words;
}

std::string MakePassphrase(const std::vector<std::string>& words, int count, std::string& reason)
{
    std::size_t longest = 0;
    for (const std::string& word : words)
        longest = std::max(longest, word.size());
    // Room for all of it from the start, so no copy of a part is left behind in freed memory.
    std::string passphrase;
    passphrase.reserve(static_cast<std::size_t>(count) * (longest + 1) + 1);
    for (int i = 0; i < count; ++i) {
        std::uint32_t index = 0;
        if (const ErrorCode error = platform::RandomBelow(static_cast<std::uint32_t>(words.size()), index)) {
            SecureFill(passphrase.data(), 0, passphrase.size());
            reason = "no random numbers from the system: " + platform::ErrorText(error);
            return {};
        }
        if (i > 0)
            passphrase += ' ';
        passphrase += words[index];
    }
    return passphrase;
}

} // namespace tazen
