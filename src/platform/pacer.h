// Lets a frequent request through at most once per gap, so a cheap loop can ask often for costly work.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <utility>

namespace tazen::platform {

class Pacer
{
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    explicit Pacer(Clock::duration gap, Now now = &Clock::now) : gap_(gap), now_(std::move(now)) {}

    // True for the first request, then once the gap has passed since the last round ended. The clock's
    // epoch means nothing (steady_clock starts at boot), so "no round yet" is kept apart from any time.
    bool Due() const { return !lastRound_ || now_() - *lastRound_ >= gap_; }

    // Runs round when it is due; the gap counts from its end, so a slow round is not followed at once.
    template <class Round> bool Run(Round&& round)
    {
        if (!Due())
            return false;
        std::forward<Round>(round)();
        lastRound_ = now_();
        return true;
    }

private:
    Clock::duration gap_;
    Now now_;
    std::optional<Clock::time_point> lastRound_;
};

} // namespace tazen::platform
