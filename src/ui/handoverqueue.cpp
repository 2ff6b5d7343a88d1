// The window's queue of held actions and handed-over names.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/handoverqueue.h"

#include <utility>

namespace tazen {

void HandOverQueue::WhenIdle(std::function<void()> action)
{
    // Behind what waits already, so nothing overtakes it.
    if (Busy() || runningHeld_ || !held_.empty())
        held_.push_back(std::move(action));
    else
        action();
}

void HandOverQueue::HandOver(std::function<void()> listName, const HandOverEndpoint::Reply& reply)
{
    if (namesWaiting_ >= kMostWaitingNames)
        return reply(0);
    ++namesWaiting_;
    const bool answered = !startingUp_;
    if (answered)
        reply(1);
    WhenIdle([this, listName = std::move(listName), reply, answered] {
        --namesWaiting_;
        listName();
        if (!answered)
            reply(1);
    });
}

void HandOverQueue::RunHeld()
{
    // An action that holds the list and lets it go again comes back here; the loop below goes on in order
    // instead.
    if (runningHeld_)
        return;
    runningHeld_ = true;
    while (!held_.empty() && !Busy() && !ended_()) {
        const std::function<void()> action = std::move(held_.front());
        held_.pop_front();
        action();
    }
    runningHeld_ = false;
}

void HandOverQueue::RunWhile(const std::function<void()>& box)
{
    const bool wasRunningHeld = std::exchange(runningHeld_, false);
    RunHeld();
    box();
    runningHeld_ = wasRunningHeld;
}

void HandOverQueue::Drop()
{
    held_.clear();
    namesWaiting_ = 0;
}

} // namespace tazen
