// How long one current graphics card takes to guess a password, estimated by zxcvbn, and the rate at which
// such a card guesses TaZEN passwords.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tazen {

// The guess rate follows from what a guess costs in Blowfish block encryptions, the same unit as bcrypt,
// whose rate on graphics cards is published.
//
// One guess at a TaZEN password: the SHA-1 of the password (one compression for any password shorter than 56
// bytes, about as much as a few blocks), then the whole Blowfish key schedule, which replaces the 18 words of
// the P-array and the 1024 of the S-boxes two at a time: (18 + 1024) / 2 = 521 blocks. Then one block for the
// initial vector (the all-ones block, encrypted) and one for the first 8 of the check block's 32 bytes, which
// already tell a wrong password: 521 + 2 = 523 blocks. Checking all four blocks, as decryption does, makes it
// 526; SHA-1 alone would go at about 5·10^10 a second on the same card.
inline constexpr double kKeyScheduleBlocks = 521;
inline constexpr double kBlocksPerGuess = kKeyScheduleBlocks + 2;
// bcrypt at cost 5 runs the same key schedule once with key and salt, then 2 · 2^5 times with key or salt
// alone, and encrypts its 24-byte text (3 blocks) 64 times: 65 · 521 + 64 · 3 = 34 057 blocks a guess.
inline constexpr double kBcryptCost5Blocks = (1 + 2 * 32) * kKeyScheduleBlocks + 64 * 3;
// hashcat's published benchmark of one GeForce RTX 4090, a current high-end graphics card: 184 thousand
// bcrypt guesses a second at cost 5 (mode 3200).
inline constexpr double kBcryptCost5PerSecond = 184e3;
// 184e3 · 34057 / 523 ≈ 1.2·10^7 TaZEN passwords a second on that card.
inline constexpr double kGuessesPerSecond = kBcryptCost5PerSecond * kBcryptCost5Blocks / kBlocksPerGuess;

// Steps of the estimate, "Very weak" to "Strong".
inline constexpr int kWeakestScore = 0;
inline constexpr int kStrongScore = 4;

struct StrengthEstimate
{
    int score = kWeakestScore; // 0 to 4
    double guesses = 0;        // zxcvbn's estimate of the guesses an attacker needs
    double seconds = 0;        // to make them at kGuessesPerSecond
    std::string text;          // "Weak: guessed in about 3 months by one current graphics card."
};

// Words zxcvbn is to know beside its own lists, in the form its user dictionary takes.
class KnownWords
{
public:
    KnownWords() = default;
    // The words of a passphrase list: each also with the space a passphrase puts after it.
    explicit KnownWords(const std::vector<std::string>& passphraseWords);
    KnownWords(const KnownWords&) = delete;
    KnownWords& operator=(const KnownWords&) = delete;

    bool Empty() const noexcept { return entries_.empty(); }
    // Ends with a null pointer; null when there are no words.
    const char** Dictionary() noexcept { return entries_.empty() ? nullptr : pointers_.data(); }

private:
    std::vector<std::string> entries_;
    std::vector<const char*> pointers_;
};

// The password as UTF-8, ending with a zero byte. Nothing of it is kept, written or logged. Knows the words of
// the passphrase list beside the program (platform::ExecutableFolder() + kWordListName), read on the first
// call; without that list, zxcvbn's own lists alone.
StrengthEstimate EstimateStrength(const char* password);
// The same with these words known.
StrengthEstimate EstimateStrength(const char* password, KnownWords& known);

// "Very weak", "Weak", "Fair", "Good" or "Strong".
std::string StrengthName(int score);
// The line the estimate says: "Weak: guessed in about 4 months by one current graphics card."
std::string StrengthText(int score, double seconds);
// "about 3 hours", "less than a second", "more than a trillion years".
std::string GuessingTime(double seconds);

} // namespace tazen
