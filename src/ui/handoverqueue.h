// The window's queue of held actions: what would change the list while a run, a command, a start-up or an
// addition is under way waits here, handed-over names among it, and runs in the order it came.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/handover.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <utility>

namespace tazen {

class HandOverQueue
{
public:
    // Handed-over names that may wait to be listed; a file manager opening a whole folder stays well below.
    static constexpr std::size_t kMostWaitingNames = 10'000;

    // running: a run is in progress, so nothing waiting may run. ended: the program ends before its window
    // shows, or the window is closing; nothing more is taken in.
    HandOverQueue(std::function<bool()> running, std::function<bool()> ended)
        : running_(std::move(running)), ended_(std::move(ended))
    {
    }

    // Held actions wait while one of these lives, and run when the last one ends.
    class Hold
    {
    public:
        explicit Hold(HandOverQueue& queue) : queue_(queue) { ++queue_.holds_; }
        ~Hold()
        {
            if (--queue_.holds_ == 0)
                queue_.RunHeld();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        HandOverQueue& queue_;
    };

    // While one of these lives, a handed-over name is answered only once it is listed: a start-up may still
    // end the program, and a sender answered before that finds it gone and tries again.
    class StartingUp
    {
    public:
        explicit StartingUp(HandOverQueue& queue) : queue_(queue) { queue_.startingUp_ = true; }
        ~StartingUp() { queue_.startingUp_ = false; }
        StartingUp(const StartingUp&) = delete;
        StartingUp& operator=(const StartingUp&) = delete;

    private:
        HandOverQueue& queue_;
    };

    // A run in progress or a hold.
    bool Busy() const { return running_() || holds_ > 0; }

    // Runs the action at once when nothing is busy or waiting, else behind what waits.
    void WhenIdle(std::function<void()> action);
    // Queues the listing of one handed-over name and answers the sender: 1 as soon as it is queued (during a
    // start-up, once listed), 0 when the queue is full.
    void HandOver(std::function<void()> listName, const HandOverEndpoint::Reply& reply);
    // Runs what waits, in order, for as long as nothing is busy.
    void RunHeld();
    // Shows a box during which held actions run as they come: what waits is run first, and what comes while
    // the box is open at once, as though the box were not there.
    void RunWhile(const std::function<void()>& box);
    // Forgets every waiting action; the window is closing.
    void Drop();

private:
    std::function<bool()> running_;
    std::function<bool()> ended_;
    int holds_ = 0;
    // Held actions run in the order they came, also those that come while earlier ones run.
    std::deque<std::function<void()>> held_;
    bool runningHeld_ = false;
    // Handed-over names queued and not yet listed.
    std::size_t namesWaiting_ = 0;
    bool startingUp_ = false;
};

} // namespace tazen
