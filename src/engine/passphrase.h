// Passphrases of words drawn at random from the EFF's long word list, for the window's Suggest and
// tazen-cli passphrase.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tazen {

inline constexpr const char* kWordListName = "eff_large_wordlist.txt";
// Five dice a word: 6^5 words, log2(7776) = 12.9 bits each, as the help promises.
inline constexpr std::size_t kWordListSize = 7776;
// What a suggestion draws: six words of the long list, about 77 bits.
inline constexpr int kPassphraseWords = 6;

// The words of a list file: the last field of each line, so the list's dice numbers are left out. Empty,
// with the reason, when the file cannot be read or is not kWordListSize distinct words.
std::vector<std::string> ReadWordList(const std::string& path, std::string& reason);

// count words of the list, each drawn on its own from the kernel's random numbers, joined by spaces. Empty,
// with the reason, when no random numbers can be had.
std::string MakePassphrase(const std::vector<std::string>& words, int count, std::string& reason);

} // namespace tazen
