// How long one graphics card takes to guess a password, estimated by zxcvbn.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/strength.h"

#include <zxcvbn.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace tazen {

namespace {

constexpr double kMinute = 60;
constexpr double kHour = 60 * kMinute;
constexpr double kDay = 24 * kHour;
constexpr double kMonth = 30 * kDay;
constexpr double kYear = 365 * kDay;

// The least time to guess that reaches each step above "Very weak". zxcvbn's own steps assume a slow, salted
// hash; against an unsalted SHA-1 only what holds out about as long as six random words of a 7776-word list
// (2^77 guesses, some 500 000 years) counts as strong.
constexpr std::array<double, kStrongScore> kStepStarts = {kHour, kYear, 1e3 * kYear, 1e5 * kYear};

std::string counted(double amount, const char* unit)
{
    const long long whole = std::max(1LL, std::llround(amount));
    return "about " + std::to_string(whole) + " " + unit + (whole == 1 ? "" : "s");
}

std::string countedYears(double years, double scale, const char* word)
{
    return "about " + std::to_string(std::max(1LL, std::llround(years / scale))) + " " + word + " years";
}

} // namespace

const char* StrengthName(int score)
{
    static constexpr std::array<const char*, kStrongScore + 1> names = {"Very weak", "Weak", "Fair", "Good", "Strong"};
    return names.at(static_cast<std::size_t>(std::clamp(score, kWeakestScore, kStrongScore)));
}

std::string GuessingTime(double seconds)
{
    if (!(seconds >= 1))
        return "less than a second";
    if (seconds < kMinute - 0.5)
        return counted(seconds, "second");
    if (seconds < kHour - kMinute / 2)
        return counted(seconds / kMinute, "minute");
    if (seconds < kDay - kHour / 2)
        return counted(seconds / kHour, "hour");
    if (seconds < kMonth - kDay / 2)
        return counted(seconds / kDay, "day");
    if (seconds < kYear - kMonth / 2)
        return counted(seconds / kMonth, "month");
    const double years = seconds / kYear;
    if (years < 999.5)
        return counted(years, "year");
    if (years < 999.5e3)
        return countedYears(years, 1e3, "thousand");
    if (years < 999.5e6)
        return countedYears(years, 1e6, "million");
    if (years < 999.5e9)
        return countedYears(years, 1e9, "billion");
    return "more than a trillion years";
}

StrengthEstimate EstimateStrength(const char* password)
{
    // The entropy zxcvbn gives is the base-2 logarithm of the guesses an attacker needs.
    const double bits = ZxcvbnMatch(password, nullptr, nullptr);
    StrengthEstimate estimate;
    estimate.seconds = std::exp2(bits) / kGuessesPerSecond;
    for (const double start : kStepStarts)
        if (estimate.seconds >= start)
            ++estimate.score;
    estimate.text = std::string(StrengthName(estimate.score)) + ": guessed in " + GuessingTime(estimate.seconds) +
                    " by one graphics card.";
    return estimate;
}

} // namespace tazen
