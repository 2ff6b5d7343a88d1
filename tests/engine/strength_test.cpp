// The strength estimate: zxcvbn's guesses turned into a step and a time for one current graphics card.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/strength.h"

#include "engine/passphrase.h"

#include <gtest/gtest.h>

namespace tazen {
namespace {

// The passphrase list, as the programs find it beside them.
KnownWords& passphraseWords()
{
    std::string reason;
    static KnownWords known(ReadWordList(TAZEN_WORD_LIST_PATH, reason));
    return known;
}

// The steps are counted in guesses: a faster card changes the times shown, not the step of a password that
// is not made of the list's words.
TEST(Strength, OrdinaryPasswordsKeepTheirStepsWithTheWordListKnown)
{
    struct Case
    {
        const char* password;
        int score;
        const char* text; // or null
    };
    const Case cases[] = {
        {"", 0, "Very weak: guessed in less than a second by one current graphics card."},
        {"7Gh#2kLp", 0, "Very weak: guessed in about 4 days by one current graphics card."},
        {"Tr0ub4dor&3", 1, "Weak: guessed in about 4 months by one current graphics card."},
        {"q9!Zr#4Lm8", 2, nullptr},
        {"x7Kp!2mQ9#rT", 3, nullptr},
        {"Mx8!vQz2#Lp9wR", 4, "Strong: guessed in more than a trillion years by one current graphics card."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        KnownWords none;
        for (KnownWords* known : {&passphraseWords(), &none}) {
            const StrengthEstimate estimate = EstimateStrength(c.password, *known);
            EXPECT_EQ(estimate.score, c.score);
            if (c.text) {
                EXPECT_EQ(estimate.text, c.text);
            }
        }
    }
}

// zxcvbn alone rates most four-word passphrases strong (51.7 bits); with the list known they score by their
// words, while six words (77.5 bits) stay strong.
TEST(Strength, PassphrasesOfTheListScoreByTheirNumberOfWords)
{
    const std::pair<const char*, int> fixed[] = {
        {"correct horse battery staple", 2},
        {"washtub bagpipe unfeeling luridness", 2},
        {"abacus abacus abacus abacus abacus abacus", 0},
        {"washtub bagpipe unfeeling luridness imprison ploy", 4},
    };
    for (const auto& [passphrase, score] : fixed)
        EXPECT_EQ(EstimateStrength(passphrase, passphraseWords()).score, score) << passphrase;

    std::string reason;
    const std::vector<std::string> words = ReadWordList(TAZEN_WORD_LIST_PATH, reason);
    for (int draw = 0; draw < 20; ++draw)
        for (const int count : {4, 6}) {
            const std::string passphrase = MakePassphrase(words, count, reason);
            EXPECT_EQ(EstimateStrength(passphrase.c_str(), passphraseWords()).score == kStrongScore, count == 6)
                << passphrase;
        }
}

TEST(Strength, TimesAreRoundedIntoTheLargestUnitThatFits)
{
    constexpr double hour = 3600;
    constexpr double day = 24 * hour;
    constexpr double year = 365 * day;
    const std::pair<double, const char*> cases[] = {
        {0.99, "less than a second"},
        {1, "about 1 second"},
        {59.4, "about 59 seconds"},
        {59.6, "about 1 minute"},
        {90, "about 2 minutes"},
        {3599, "about 1 hour"},
        {3 * hour, "about 3 hours"},
        {29 * day, "about 29 days"},
        {45 * day, "about 2 months"},
        {360 * day, "about 1 year"},
        {999 * year, "about 999 years"},
        {2500 * year, "about 3 thousand years"},
        {999.6e3 * year, "about 1 million years"},
        {4.2e9 * year, "about 4 billion years"},
        {1e30, "more than a trillion years"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(GuessingTime(seconds), text) << seconds;
}

} // namespace
} // namespace tazen
