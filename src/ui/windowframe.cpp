// The main window's outer bounds as the settings file keeps them.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/windowframe.h"

#include "engine/settings.h"
#include "platform/folders.h"
#include "platform/inifile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <string>

namespace tazen {

namespace {

// Extremes a hand-edited settings file may hold, kept to a window that can be seen and used.
constexpr int kSmallestSide = 120;
constexpr int kLargestSide = 16'000;

} // namespace

QRect LoadFrame()
{
    const platform::TIniFile settings(SettingsFilePath());
    QRect frame(settings.ReadInteger(kSectionVisuals, "Left", 400), settings.ReadInteger(kSectionVisuals, "Top", 250),
                settings.ReadInteger(kSectionVisuals, "Width", 500),
                settings.ReadInteger(kSectionVisuals, "Height", 500));
    frame.setSize(frame.size().expandedTo({kSmallestSide, kSmallestSide}).boundedTo({kLargestSide, kLargestSide}));
    bool seen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        seen = seen || screen->availableGeometry().intersects(frame.adjusted(32, 32, -32, -32));
    if (!seen && QGuiApplication::primaryScreen())
        frame.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    return frame;
}

void SaveFrame(const QRect& frame)
{
    const std::string path = SettingsFilePath();
    if (!platform::ExistsAsFile(path))
        return;
    // The program ends all the same; after a failed write the next start uses what the file still holds.
    platform::TIniFile settings(path);
    if (settings.WriteInteger(kSectionVisuals, "Height", frame.height()) == 0 &&
        settings.WriteInteger(kSectionVisuals, "Width", frame.width()) == 0 &&
        settings.WriteInteger(kSectionVisuals, "Left", frame.left()) == 0)
        static_cast<void>(settings.WriteInteger(kSectionVisuals, "Top", frame.top()));
}

QRect OuterBounds(const QWidget& window)
{
    const QRect frame = window.frameGeometry();
    if (!(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        return frame;
    const QRect inner = window.geometry();
    const QMargins margins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                           frame.bottom() - inner.bottom());
    return window.normalGeometry().marginsAdded(margins);
}

} // namespace tazen
