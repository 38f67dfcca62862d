#pragma once
// The setting of the benchmarks that switch channels: the whole program with folders of
// its own, and an own playlist of two channels on the stream zoo's live HLS stream.

#include "App.h"
#include "ZooServer.h"

#include <QStringList>
#include <QTemporaryDir>

class QTreeWidget;
class QTreeWidgetItem;

class OwnChannels
{
public:
    static const QStringList kNames;

    // Before the application object: configuration and cache folders inside home.
    static void UseFolders(const QTemporaryDir& home);

    explicit OwnChannels(const QTemporaryDir& home) : home(home) {}

    // Starts the zoo, shows the main window with the playlist and opens its node in the
    // channel tree; false with a message when something did not start.
    bool Start();

    App& Program() { return app; }
    const ZooServer& Server() const { return server; }
    QTreeWidget* Tree() const { return tree; }
    QTreeWidgetItem* Channel(int index) const;

private:
    bool WritePlaylist(const QString& path) const;

    const QTemporaryDir& home;
    ZooServer server;
    App app;
    QTreeWidget* tree = nullptr;
    QTreeWidgetItem* node = nullptr;
};
