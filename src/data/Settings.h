#pragma once
// The persisted settings, with the defaults that apply when Settings.xml cannot be read.

#include <QRect>
#include <QString>

struct Settings
{
    QRect mainWindowRect{298, 161, 550, 471};   // outer (frame) rectangle, screen coordinates
    QRect channelWindowRect{10, 10, 219, 484};  // outer rectangle of the channel window
    QString languageName = QStringLiteral("English");
    int hideControl = 0;
    int hideMenu = 0;
    int mute = 0;
    int volume = 100;
    int alwaysOnTop = 0;
    int originalSize = 0;
};
