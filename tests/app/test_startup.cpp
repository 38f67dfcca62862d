#include "MainWindowFixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <utility>

namespace {
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST_F(MainWindowTest, FirstStartUsesDefaultsAndClosingWritesBothFiles)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(QApplication::windowIcon().availableSizes().isEmpty()) << "the windows' and the tray's icon";
    EXPECT_EQ(app->GetSettings().volume, 100);
    EXPECT_EQ(app->GetSettings().languageName, QStringLiteral("English"));
    Close();
    const QByteArray settings = ReadAll(ConfigFile("Settings.xml"));
    EXPECT_TRUE(settings.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Settings>\r\n"));
    EXPECT_TRUE(settings.contains("<Language name=\"English\" />"));
    EXPECT_EQ(ReadAll(ConfigFile("Favorites.xml")),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites />\r\n"));
}

TEST_F(MainWindowTest, RestartWithoutChangesWritesTheSameBytes)
{
    ASSERT_TRUE(Start());
    Close();
    const QByteArray first = ReadAll(ConfigFile("Settings.xml"));
    app.reset();
    ASSERT_TRUE(Start());
    Close();
    EXPECT_EQ(ReadAll(ConfigFile("Settings.xml")), first);
}

// A file that cannot be written costs only itself; the viewer who closed the window is told
// which and why, while the session's end asks nobody.
TEST_F(MainWindowTest, AFailedSaveAtCloseIsToldWhenTheViewerClosedTheWindow)
{
    for (const bool sessionEnds : {false, true}) {
        SCOPED_TRACE(sessionEnds);
        ASSERT_TRUE(Start());
        QDir().mkpath(ConfigFile("Favorites.xml/in the way"));
        boxes.Clear();
        app->End(sessionEnds);
        app->Shutdown();
        EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<Settings>"));
        if (sessionEnds) {
            EXPECT_TRUE(boxes.Boxes().empty());
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(ConfigFile("Favorites.xml") + QStringLiteral(" could not be saved: ")))
                << boxes.Boxes()[0].text.toStdString();
            EXPECT_EQ(boxes.Boxes()[0].style, MB_OK | MB_ICONWARNING);
        }
        QDir(ConfigFile("Favorites.xml")).removeRecursively();
        app.reset();
    }
}

TEST_F(MainWindowTest, NoLanguagesFolderIsFatalAndLeavesFilesUntouched)
{
    QTemporaryDir empty;
    UseWorkingDirectory(empty.path());
    WriteConfigFile("Settings.xml", "keep me");
    WriteConfigFile("Favorites.xml", "keep me too");
    app = std::make_unique<App>();
    EXPECT_EQ(app->Run(), App::kFatalExitStatus); // no modal loop: the start-up ended it
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("Cannot open language file. Please reinstall the program."));
    EXPECT_EQ(boxes.Boxes()[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(boxes.Boxes()[1].style, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(ReadAll(ConfigFile("Settings.xml")), QByteArray("keep me"));
    EXPECT_EQ(ReadAll(ConfigFile("Favorites.xml")), QByteArray("keep me too"));
}

TEST_F(MainWindowTest, MissingOrUnsafeLanguageWarnsOnceThenRunsAndSavesEnglish)
{
    for (const char* name : {"Klingon", "../English", "English/../English"}) {
        SCOPED_TRACE(name);
        QByteArray xml = SettingsXml(0, 0, 0);
        xml.replace("name=\"English\"", QByteArray("name=\"") + name + "\"");
        WriteConfigFile("Settings.xml", xml);
        boxes.Clear();
        ASSERT_TRUE(Start());
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text,
                  QStringLiteral("Cannot open %1 language file, will be used English.").arg(QString::fromUtf8(name)));
        Close();
        EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<Language name=\"English\" />"));
        app.reset();
    }
}

TEST_F(MainWindowTest, SavedViewModesComeBackWithTheirCheckMarks)
{
    WriteConfigFile("Settings.xml", SettingsXml(1, 1, 1, 1));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Window().PlayPanel().isHidden());
    EXPECT_TRUE(Window().MenuPanel().isHidden());
    EXPECT_TRUE(Window().IsTopmost());
    for (int popup : {2, 4}) {
        EXPECT_TRUE(Checked(popup, ID_HIDE_CONTROL));
        EXPECT_TRUE(Checked(popup, ID_HIDE_MENU));
        EXPECT_TRUE(Checked(popup, ID_ALWAYS_ON_TOP));
    }
    for (int popup : {1, 4}) {
        EXPECT_TRUE(Checked(popup, ID_ORIGINAL_SIZE));
        EXPECT_FALSE(Checked(popup, ID_FIT_TO_WINDOW));
    }
    Close();
    EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<HideMenu id=\"1\" />"));
}

TEST_F(MainWindowTest, QuitFromTheDesktopClosesWhatIsOpenSavesAndEnds)
{
    constexpr int kPollMs = 10;
    constexpr int kGiveUpMs = 15000;
    const QPoint inside(10, 40);
    // Each opener runs a loop of its own inside the window's until it is closed.
    const std::pair<const char*, std::function<void(App&)>> openers[] = {
        {"dialog", [](App& a) { a.Actions().Run(ID_ABOUT); }},
        {"message box", [](App& a) { a.AddPlaylists({QStringLiteral("ftp://h/x.m3u")}); }},
        {"menu", [&](App& a) {
             QContextMenuEvent event(QContextMenuEvent::Mouse, inside, a.Window().mapToGlobal(inside));
             QCoreApplication::sendEvent(&a.Window(), &event);
         }},
    };
    const MessageBoxHook recorder = SetMessageBoxHook({}); // real boxes, with loops of their own
    for (const auto& [what, open] : openers) {
        SCOPED_TRACE(what);
        app = std::make_unique<App>();
        QTimer::singleShot(0, &Window(), [&] {
            app->Playback().SetVolume(37);
            open(*app);
        });
        QTimer poll;
        int pollsLeft = kGiveUpMs / kPollMs;
        bool gaveUp = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* open = QApplication::activePopupWidget();
            if (open == nullptr && QApplication::activeModalWidget() != &Window())
                open = QApplication::activeModalWidget();
            if (open != nullptr) {
                poll.stop();
                app->Playback().QuitFromDesktop();
            } else if (--pollsLeft == 0) {
                gaveUp = true;
                app->End();
            }
        });
        poll.start(kPollMs);
        // Before a quit that reaches every loop, the inner one held this call until answered.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            gaveUp = true;
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()); modal && modal != &Window())
                modal->reject();
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
        watchdog.start(kGiveUpMs);
        EXPECT_EQ(app->Run(), 0);
        EXPECT_FALSE(gaveUp);
        for (QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
        EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<VolumeSound id=\"37\" />"));
        QFile::remove(ConfigFile("Settings.xml"));
        app.reset();
    }
    SetMessageBoxHook(recorder);
}
