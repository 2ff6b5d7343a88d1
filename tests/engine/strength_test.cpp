// The strength estimate: zxcvbn's guesses turned into a step and a time for one graphics card.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/strength.h"

#include <gtest/gtest.h>

namespace tazen {
namespace {

TEST(Strength, FixedPasswordsGetTheirStepAndTimeFromTheLibrary)
{
    struct Case
    {
        const char* password;
        int score;
        const char* text;
    };
    const Case cases[] = {
        {"", 0, "Very weak: guessed in less than a second by one graphics card."},
        {"password", 0, "Very weak: guessed in less than a second by one graphics card."},
        {"Tr0ub4dor&3", 1, "Weak: guessed in about 3 hours by one graphics card."},
        {"correct horse battery staple", 3, "Good: guessed in about 5 thousand years by one graphics card."},
        {"washtub bagpipe unfeeling luridness imprison ploy", 4,
         "Strong: guessed in more than a trillion years by one graphics card."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        const StrengthEstimate estimate = EstimateStrength(c.password);
        EXPECT_EQ(estimate.score, c.score);
        EXPECT_EQ(estimate.text, c.text);
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
