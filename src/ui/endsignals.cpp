// Ends the program as closing its window does when the system asks it to.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/endsignals.h"

#include <QSocketNotifier>

namespace tazen {

EndSignals::EndSignals(std::function<void()> close, QObject* parent) : QObject(parent), close_(std::move(close))
{
    if (source_.Start() != 0)
        return; // the system's default ending stays
    notifier_ = std::make_unique<QSocketNotifier>(source_.Handle(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        source_.Drain();
        close_();
    });
}

EndSignals::~EndSignals()
{
    notifier_.reset();
}

} // namespace tazen
