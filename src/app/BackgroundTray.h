#pragma once
// Keeps the program recording after its windows were closed: asked at the close while a
// recording is under way or due soon, the windows hide and a tray icon offers Show and
// Quit. Where the desktop has no tray the box says so, and the viewer quits or cancels.

#include "LanguageStrings.h"

#include <QEventLoop>
#include <QObject>

#include <functional>
#include <memory>

class QSystemTrayIcon;
class QWidget;

class BackgroundTray : public QObject
{
    Q_OBJECT
public:
    enum class Choice { Quit, Background, Cancel };

    BackgroundTray(const LanguageStrings& texts, QWidget& window);
    ~BackgroundTray() override;

    // At the window's close while busy: what the viewer chose.
    Choice Ask();
    // With the windows hidden, the tray icon until the viewer chooses: true for Show.
    bool Wait();

private:
    const LanguageStrings& texts;
    QWidget& window;
    std::unique_ptr<QSystemTrayIcon> tray;
    QEventLoop loop;
};
