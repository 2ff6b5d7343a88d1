// How long one current graphics card takes to guess a password, estimated by zxcvbn.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/strength.h"

#include "base/texts.h"
#include "engine/passphrase.h"
#include "platform/folders.h"

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

// The guesses that reach each step above "Very weak", in zxcvbn's guesses rather than time, so a faster card
// changes the times shown but not the steps: 2^45, 2^58, 2^68 and 2^74.7. zxcvbn's own steps assume a slow,
// salted hash; here only what holds out about as long as six random words of a 7776-word list (2^77.5) counts
// as strong, and four of them (2^51.7) as weak.
constexpr std::array<double, kStrongScore> kStepStarts = {3.6e13, 3.1536e17, 3.1536e20, 3.1536e22};

// A count of units: one unit's text for exactly one, the other's for more. Numbers are written without
// separators, so no locale's grouping is wanted.
std::string counted(double amount, const MarkedText& one, const MarkedText& more)
{
    const long long whole = std::max(1LL, std::llround(amount));
    return Text(whole == 1 ? one : more, {std::to_string(whole)});
}

} // namespace

std::string StrengthName(int score)
{
    static constexpr std::array<MarkedText, kStrongScore + 1> names = {
        TAZEN_TEXT("Strength", "Very weak"), TAZEN_TEXT("Strength", "Weak"), TAZEN_TEXT("Strength", "Fair"),
        TAZEN_TEXT("Strength", "Good"), TAZEN_TEXT("Strength", "Strong")};
    return Text(names.at(static_cast<std::size_t>(std::clamp(score, kWeakestScore, kStrongScore))));
}

std::string GuessingTime(double seconds)
{
    if (!(seconds >= 1))
        return Text(TAZEN_TEXT("Strength", "less than a second"));
    if (seconds < kMinute - 0.5)
        return counted(seconds, TAZEN_TEXT("Strength", "about %1 second"), TAZEN_TEXT("Strength", "about %1 seconds"));
    if (seconds < kHour - kMinute / 2)
        return counted(seconds / kMinute, TAZEN_TEXT("Strength", "about %1 minute"),
                       TAZEN_TEXT("Strength", "about %1 minutes"));
    if (seconds < kDay - kHour / 2)
        return counted(seconds / kHour, TAZEN_TEXT("Strength", "about %1 hour"),
                       TAZEN_TEXT("Strength", "about %1 hours"));
    if (seconds < kMonth - kDay / 2)
        return counted(seconds / kDay, TAZEN_TEXT("Strength", "about %1 day"), TAZEN_TEXT("Strength", "about %1 days"));
    if (seconds < kYear - kMonth / 2)
        return counted(seconds / kMonth, TAZEN_TEXT("Strength", "about %1 month"),
                       TAZEN_TEXT("Strength", "about %1 months"));
    const double years = seconds / kYear;
    if (years < 999.5)
        return counted(years, TAZEN_TEXT("Strength", "about %1 year"), TAZEN_TEXT("Strength", "about %1 years"));
    if (years < 999.5e3)
        return counted(years / 1e3, TAZEN_TEXT("Strength", "about 1 thousand years"),
                       TAZEN_TEXT("Strength", "about %1 thousand years"));
    if (years < 999.5e6)
        return counted(years / 1e6, TAZEN_TEXT("Strength", "about 1 million years"),
                       TAZEN_TEXT("Strength", "about %1 million years"));
    if (years < 999.5e9)
        return counted(years / 1e9, TAZEN_TEXT("Strength", "about 1 billion years"),
                       TAZEN_TEXT("Strength", "about %1 billion years"));
    return Text(TAZEN_TEXT("Strength", "more than a trillion years"));
}

KnownWords::KnownWords(const std::vector<std::string>& passphraseWords)
{
    if (passphraseWords.empty())
        return;
    // zxcvbn counts a word of its user dictionary as log2 of its place in it, as if the first were the most
    // common; a passphrase's words are drawn alike, each worth log2 of the list's length. So the words stand
    // behind as many places that no UTF-8 text matches (a 0xFF byte), and each counts for 12.9 to 14.5 bits
    // rather than 0 to 12.9. A space between words would count as a character of its own (some 7.6 bits),
    // though a passphrase's spaces are known: each word also comes with the space after it.
    static constexpr char kNoText[] = "\xFF";
    entries_.reserve(2 * passphraseWords.size());
    for (const std::string& word : passphraseWords) {
        entries_.push_back(word);
        entries_.push_back(word + ' ');
    }
    pointers_.assign(passphraseWords.size(), kNoText);
    pointers_.reserve(pointers_.size() + entries_.size() + 1);
    for (const std::string& entry : entries_)
        pointers_.push_back(entry.c_str());
    pointers_.push_back(nullptr);
}

StrengthEstimate EstimateStrength(const char* password, KnownWords& known)
{
    // The entropy zxcvbn gives is the base-2 logarithm of the guesses an attacker needs.
    StrengthEstimate estimate;
    estimate.guesses = std::exp2(ZxcvbnMatch(password, known.Dictionary(), nullptr));
    estimate.seconds = estimate.guesses / kGuessesPerSecond;
    for (const double start : kStepStarts)
        if (estimate.guesses >= start)
            ++estimate.score;
    estimate.text = StrengthText(estimate.score, estimate.seconds);
    return estimate;
}

std::string StrengthText(int score, double seconds)
{
    return Text(TAZEN_TEXT("Strength", "%1: guessed in %2 by one current graphics card."),
                {StrengthName(score), GuessingTime(seconds)});
}

StrengthEstimate EstimateStrength(const char* password)
{
    // Read once: the window estimates on every key press.
    static KnownWords passphraseWords = [] {
        std::string reason;
        return KnownWords(ReadWordList(platform::ExecutableFolder() + kWordListName, reason));
    }();
    return EstimateStrength(password, passphraseWords);
}

} // namespace tazen
