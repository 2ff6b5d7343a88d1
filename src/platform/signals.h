// The signals that ask a program to end, turned into a descriptor an event loop can watch, and a broken pipe
// turned into a failed write.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/descriptor.h"

namespace tazen::platform {

// From Start until it goes, SIGTERM, SIGINT and SIGHUP make its handle readable instead of ending the
// process; calls they interrupt go on. Going, it gives the three back their default action. Only one may
// exist at a time.
class EndSignalSource
{
public:
    EndSignalSource() = default;
    ~EndSignalSource();
    EndSignalSource(const EndSignalSource&) = delete;
    EndSignalSource& operator=(const EndSignalSource&) = delete;

    // Without it the system's default ending stays.
    ErrorCode Start();
    // For an event loop to watch for readable data; -1 before Start.
    int Handle() const { return readEnd_.Get(); }
    // Takes in what the signals that came have left, so the handle waits for the next one.
    void Drain();

private:
    Descriptor readEnd_;
    Descriptor writeEnd_;
};

// A write to a pipe or socket whose reader is gone fails with EPIPE instead of ending the process.
ErrorCode IgnoreBrokenPipe();

} // namespace tazen::platform
