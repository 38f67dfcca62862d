#pragma once
// The program's parts started the way the program starts them, in a fresh config folder,
// with the staged data folder (or a test's own) as working directory and boxes recorded.

#include "App.h"
#include "MessageBoxRecorder.h"
#include "TempDir.h"
#include "WorkingDirectory.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    static constexpr int kEngineWaitMs = 10000;

    // Starts the parts (start-up sequence only, no modal loop) and waits for the engine;
    // false on a fatal error.
    bool Start();
    // Closes it as the system close command does and runs the shutdown sequence.
    void Close();

    QString ConfigFile(const QString& name) const;
    void WriteConfigFile(const QString& name, const QByteArray& bytes);
    // One own channel ("Own One") in a playlist the start reads, and a guide file for it with
    // "Evening news" on now, an hour either side, and "Late film" for two hours after; the
    // guide's path.
    QString WriteOwnChannelWithGuide(qint64 now);
    // The cache (guides, logos, the buffer) in a folder of the test's own until it ends:
    // another test's guide of the same channel would be found too.
    void UseOwnCacheFolder();
    // Makes a language folder tree in a temporary working directory and changes into it.
    void UseWorkingDirectory(const QString& path);

    QAction* Item(int popup, int id) const;
    bool Checked(int popup, int id) const;

    // Starts a channel as the channel window asks for one, and lets its load reach the player.
    void StartChannel(const QString& address, const QString& name = QStringLiteral("Test pattern"));
    void StartChannel(const ChannelRequest& request);
    // The main window, and the favourites' names.
    MainWindow& Window() const { return app->Window(); }
    QStringList FavoriteNames() const;
    // Reports a play state as the player's event sink does.
    void ReportState(PlayStateCode state, UnavailableReason reason = UnavailableReason::None);

    TempDir config;
    MessageBoxRecorder boxes;
    std::unique_ptr<App> app;

private:
    std::optional<WorkingDirectory> workingDirectory;
    std::optional<QByteArray> previousCacheHome;
};

// A minimal settings file with the given view flags.
QByteArray SettingsXml(int hideControl, int hideMenu, int alwaysOnTop, int originalSize = 0, int mute = 0,
                       int volume = 100);
