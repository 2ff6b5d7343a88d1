// Ends the program as closing its window does when the system asks it to (SIGTERM, SIGINT from a
// terminal, SIGHUP when the terminal goes): a run in progress is cancelled, its temporary file removed,
// and the window's bounds saved, instead of the process vanishing halfway.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/signals.h"

#include <QObject>

#include <functional>
#include <memory>

class QSocketNotifier;

namespace tazen {

class EndSignals : public QObject
{
    Q_OBJECT

public:
    // close is called from the event loop, once per signal that arrives. Only one instance may exist.
    explicit EndSignals(std::function<void()> close, QObject* parent = nullptr);
    ~EndSignals() override;

private:
    std::function<void()> close_;
    platform::EndSignalSource source_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace tazen
