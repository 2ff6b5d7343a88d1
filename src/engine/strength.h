// How long one graphics card takes to guess a password, estimated by zxcvbn: the format's key is an unsalted
// SHA-1 of the password, so an attacker tests about 10^10 of them a second.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace tazen {

inline constexpr double kGuessesPerSecond = 1e10;
// Steps of the estimate, "Very weak" to "Strong".
inline constexpr int kWeakestScore = 0;
inline constexpr int kStrongScore = 4;

struct StrengthEstimate
{
    int score = kWeakestScore; // 0 to 4
    double seconds = 0;        // to guess it at kGuessesPerSecond
    std::string text;          // "Weak: guessed in about 3 hours by one graphics card."
};

// The password as UTF-8, ending with a zero byte. Nothing of it is kept, written or logged.
StrengthEstimate EstimateStrength(const char* password);

// "Very weak", "Weak", "Fair", "Good" or "Strong".
const char* StrengthName(int score);
// "about 3 hours", "less than a second", "more than a trillion years".
std::string GuessingTime(double seconds);

} // namespace tazen
