// The desktop portal's OpenURI, which opens a file in the application the user's desktop chooses for its type,
// also for a program in a sandbox and on desktops whose own opener xdg-open does not know.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QString>

#include <functional>

namespace tazen {

enum class PortalAnswer
{
    Opened,     // an application was started with the file
    Declined,   // the user closed the portal's choice of application
    Unavailable // no portal, or it could not open the file: another way may
};

// Asks the portal on bus to open the file at path, writable, in the application for its type. parentWindow is
// the portal's name of the window the portal's own questions belong to ("x11:1a00004"), or empty. answered is
// called once, from the event loop, when the portal has answered; never before this returns.
void OpenThroughPortal(const QDBusConnection& bus, const QString& parentWindow, const QString& path,
                       std::function<void(PortalAnswer)> answered);

} // namespace tazen
