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
    EXPECT_EQ(dlg->GetSettings().volume, 100);
    EXPECT_EQ(dlg->GetSettings().languageName, QStringLiteral("English"));
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
    dlg.reset();
    ASSERT_TRUE(Start());
    Close();
    EXPECT_EQ(ReadAll(ConfigFile("Settings.xml")), first);
}

TEST_F(MainWindowTest, NoLanguagesFolderIsFatalAndLeavesFilesUntouched)
{
    QTemporaryDir empty;
    UseWorkingDirectory(empty.path());
    WriteConfigFile("Settings.xml", "keep me");
    WriteConfigFile("Favorites.xml", "keep me too");
    EXPECT_FALSE(Start());
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, QStringLiteral("Warning"));
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("Cannot open language file. Please reinstall the program."));
    EXPECT_EQ(boxes.Boxes()[1].caption, QStringLiteral("Error"));
    EXPECT_EQ(boxes.Boxes()[1].style, MB_OK | MB_ICONSTOP);
    dlg->OnDestroy();
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
        dlg.reset();
    }
}

TEST_F(MainWindowTest, SavedViewModesComeBackWithTheirCheckMarks)
{
    WriteConfigFile("Settings.xml", SettingsXml(1, 1, 1, 1));
    ASSERT_TRUE(Start());
    EXPECT_TRUE(dlg->PlayPanel().isHidden());
    EXPECT_TRUE(dlg->MenuPanel().isHidden());
    EXPECT_TRUE(dlg->IsTopmost());
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
    const std::pair<const char*, std::function<void(CLumenoDlg&)>> openers[] = {
        {"dialog", [](CLumenoDlg& d) { d.OnCommand(ID_ABOUT); }},
        {"message box", [](CLumenoDlg& d) { d.AddPlaylists({QStringLiteral("ftp://h/x.m3u")}); }},
        {"menu", [&](CLumenoDlg& d) {
             QContextMenuEvent event(QContextMenuEvent::Mouse, inside, d.mapToGlobal(inside));
             QCoreApplication::sendEvent(&d, &event);
         }},
    };
    const MessageBoxHook recorder = SetMessageBoxHook({}); // real boxes, with loops of their own
    for (const auto& [what, open] : openers) {
        SCOPED_TRACE(what);
        dlg = std::make_unique<CLumenoDlg>();
        QTimer::singleShot(0, dlg.get(), [&] {
            SendMessage(dlg.get(), VolumeMessage{37});
            open(*dlg);
        });
        QTimer poll;
        int pollsLeft = kGiveUpMs / kPollMs;
        bool gaveUp = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* open = QApplication::activePopupWidget();
            if (open == nullptr && QApplication::activeModalWidget() != dlg.get())
                open = QApplication::activeModalWidget();
            if (open != nullptr) {
                poll.stop();
                dlg->QuitFromDesktop();
            } else if (--pollsLeft == 0) {
                gaveUp = true;
                dlg->EndDialog(IDCANCEL);
            }
        });
        poll.start(kPollMs);
        // Before a quit that reaches every loop, the inner one held this call until answered.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            gaveUp = true;
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()); modal && modal != dlg.get())
                modal->reject();
            if (QWidget* popup = QApplication::activePopupWidget())
                popup->close();
        });
        watchdog.start(kGiveUpMs);
        EXPECT_EQ(dlg->DoModal(), IDCANCEL);
        EXPECT_FALSE(gaveUp);
        for (QWidget* widget : QApplication::topLevelWidgets())
            EXPECT_FALSE(widget->isVisible()) << widget->metaObject()->className();
        EXPECT_TRUE(ReadAll(ConfigFile("Settings.xml")).contains("<VolumeSound id=\"37\" />"));
        QFile::remove(ConfigFile("Settings.xml"));
        dlg.reset();
    }
    SetMessageBoxHook(recorder);
}
