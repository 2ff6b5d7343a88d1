// What tazen-cli encrypt says about the password's strength, and the rule --min-strength sets.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/passwordstrength.h"

#include "cli/options.h"
#include "engine/strength.h"

#include <cstdio>

namespace tazen::cli {

int CheckPasswordStrength(const char* password, std::optional<int> minimum, bool quiet)
{
    const StrengthEstimate estimate = EstimateStrength(password);
    const bool refused = minimum && estimate.score < *minimum;
    if (refused || (!quiet && estimate.score < kStrongScore))
        std::fprintf(stderr, "tazen-cli: %s\n", estimate.text.c_str());
    if (!refused)
        return -1;
    std::fprintf(stderr,
                 "tazen-cli: --min-strength %d asks for %s or stronger; nothing was encrypted "
                 "('tazen-cli passphrase' makes a strong password)\n",
                 *minimum, StrengthName(*minimum).c_str());
    return kExitUsage;
}

} // namespace tazen::cli
