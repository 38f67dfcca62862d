#include "MainWindowFixture.h"

#include "CLanguageDlg.h"
#include "ChannelItemDelegate.h"
#include "DroppedPlaylists.h"
#include "GuideTexts.h"
#include "NextModalDialog.h"
#include "TinyHttpServer.h"
#include "ZooServer.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <QShortcut>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

class CommandTest : public MainWindowTest
{
protected:
    void StartActive()
    {
        ASSERT_TRUE(Start());
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
        boxes.Clear();
    }
};

TEST_F(CommandTest, SpaceDoesNothingBeforeAChannelThenTogglesPlayAndStop)
{
    ZooServer server;
    ASSERT_TRUE(server.Start()) << server.Error().toStdString();
    StartActive();
    QTest::keyClick(&Window(), Qt::Key_Space);
    EXPECT_FALSE(Window().PlayPanel().IsPlayEnabled());
    EXPECT_FALSE(Window().PlayPanel().IsPlaying());

    StartChannel(server.Url(QStringLiteral("/zoo/stream.ts")));
    EXPECT_TRUE(Window().PlayPanel().IsPlaying());
    QTest::keyClick(&Window(), Qt::Key_Space);
    EXPECT_FALSE(Window().PlayPanel().IsPlaying());
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Player().PlayState() == 1; }, kEngineWaitMs));
    QTest::keyClick(&Window(), Qt::Key_Space);
    EXPECT_TRUE(Window().PlayPanel().IsPlaying());
    // On the picture, as in full screen, Space means the same.
    app->Player().Events().KeyDown(QKeyCombination(Qt::Key_Space));
    EXPECT_FALSE(Window().PlayPanel().IsPlaying());
    EXPECT_TRUE(QTest::qWaitFor([&] { return app->Player().PlayState() == 1; }, kEngineWaitMs));
    app->Player().Events().KeyDown(QKeyCombination(Qt::Key_Space));
    EXPECT_TRUE(Window().PlayPanel().IsPlaying());
}

TEST_F(CommandTest, EveryActionIsReachableByItsKeyAndItsMenuItemAndNoKeyIsBoundTwice)
{
    ASSERT_TRUE(Start());
    const Commands& commands = app->Actions();
    // The live channel's and the film's commands go to their controls as the tracks' items do; the channel
    // window carries out its own.
    const std::set<int> live = {ID_PAUSE,  ID_RESUME,    ID_BACK_TO_LIVE, ID_RECORD,        ID_RECORD_BUFFER,
                                ID_STEP_BACK, ID_STEP_FORWARD, ID_MINUTE_BACK, ID_MINUTE_FORWARD, ID_FILM_START};
    const auto carried = [&](int command) {
        return commands.Handles(command) || live.count(command) != 0
            || (command >= ID_CHANNEL_PLAY && command <= ID_CHANNEL_MENU);
    };
    std::set<std::pair<unsigned, int>> bound;
    for (const KeyBinding& binding : KeyBindings()) {
        const std::string key = QKeySequence(binding.key).toString().toStdString();
        EXPECT_TRUE(carried(binding.command)) << key;
        for (KeyPlace place : {OnWindow, OnPicture, InChannelWindow, InGuideWindow}) {
            if ((binding.places & place) == 0)
                continue;
            EXPECT_TRUE(bound.insert({place, binding.key.toCombined()}).second) << key << " bound twice";
            EXPECT_EQ(CommandOfKey(place, binding.key), binding.command) << key;
        }
        if ((binding.places & OnWindow) == 0 || binding.dialogKey)
            continue;
        const auto shortcut = std::find_if(commands.Shortcuts().begin(), commands.Shortcuts().end(),
                                           [&](const QShortcut* s) { return s->key() == QKeySequence(binding.key); });
        EXPECT_NE(shortcut, commands.Shortcuts().end()) << key << " has no shortcut";
    }
    for (const MenuRow& row : MenuRows()) {
        if (row.command == ID_SEPARATOR)
            continue;
        EXPECT_NE(Item(row.popup, row.command), nullptr) << row.command;
        EXPECT_TRUE(carried(row.command)) << row.command;
    }
}

TEST_F(CommandTest, MMutesCtrlMHidesTheMenuShiftMDoesNothing)
{
    StartActive();
    QTest::keyClick(&Window(), Qt::Key_M);
    EXPECT_EQ(app->GetSettings().mute, 1);
    EXPECT_EQ(app->GetSettings().hideMenu, 0);

    QTest::keyClick(&Window(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(app->GetSettings().mute, 1);
    EXPECT_EQ(app->GetSettings().hideMenu, 1);
    EXPECT_TRUE(Window().MenuPanel().isHidden());

    QTest::keyClick(&Window(), Qt::Key_M, Qt::ShiftModifier);
    EXPECT_EQ(app->GetSettings().mute, 1);
    EXPECT_EQ(app->GetSettings().hideMenu, 1);
}

TEST_F(CommandTest, CtrlHAndCtrlTToggleTheirModes)
{
    StartActive();
    QTest::keyClick(&Window(), Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(Window().PlayPanel().isHidden());
    EXPECT_TRUE(Checked(2, ID_HIDE_CONTROL));
    QTest::keyClick(&Window(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(Window().IsTopmost());
    EXPECT_TRUE(Checked(4, ID_ALWAYS_ON_TOP));
    QTest::keyClick(&Window(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Window().IsTopmost());
    EXPECT_FALSE(Checked(2, ID_ALWAYS_ON_TOP));
}

TEST_F(CommandTest, EscapeDoesNothingF1ListsTheKeysEnterGoesFullScreen)
{
    StartActive();
    QTest::keyClick(&Window(), Qt::Key_Escape);
    {
        const NextModalDialog listed([](QWidget* modal) { EXPECT_NE(modal->findChild<QTreeWidget*>(), nullptr); });
        QTest::keyClick(&Window(), Qt::Key_F1);
    }
    EXPECT_TRUE(Window().isVisible());
    QTest::keyClick(&Window(), Qt::Key_Return);
    EXPECT_TRUE(app->Player().IsFullScreen());
    app->Player().Events().KeyDown(QKeyCombination(Qt::Key_Return));
    EXPECT_FALSE(app->Player().IsFullScreen());
    EXPECT_TRUE(Window().isVisible());
}

// F1 lists, under the place where they work, every key of the table with its command's
// name, and the digits; in either window.
TEST_F(CommandTest, F1ListsEveryKeyWhereItWorksWithWhatItDoes)
{
    StartActive();
    const LanguageStrings& texts = app->Language().Strings();
    const auto check = [&](QWidget* modal) {
        auto* list = modal->findChild<QTreeWidget*>();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(modal->windowTitle(), QStringLiteral("Keyboard shortcuts"));
        const unsigned places[] = {OnWindow, OnPicture, InChannelWindow, InGuideWindow};
        ASSERT_EQ(list->topLevelItemCount(), int(std::size(places)));
        for (int at = 0; at < int(std::size(places)); ++at) {
            QStringList rows;
            const QTreeWidgetItem* place = list->topLevelItem(at);
            for (int row = 0; row < place->childCount(); ++row)
                rows << place->child(row)->text(0) + '=' + place->child(row)->text(1);
            EXPECT_EQ(rows.contains(QStringLiteral("0\u20139=The channel of that number")), at < 2) << at;
            for (const KeyBinding& binding : KeyBindings()) {
                if ((binding.places & places[at]) == 0)
                    continue;
                const QString key = QKeySequence(binding.key).toString(QKeySequence::NativeText);
                const QString name = CommandName(texts, binding.command);
                EXPECT_FALSE(name.isEmpty()) << binding.command;
                EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const QString& row) {
                    return row.endsWith('=' + name) && row.section('=', 0, 0).split(QStringLiteral(", ")).contains(key);
                })) << key.toStdString() << " " << rows.join('|').toStdString();
            }
        }
    };
    {
        const NextModalDialog listed(check);
        QTest::keyClick(&Window(), Qt::Key_F1);
    }
    {
        const NextModalDialog listed(check);
        QTest::keyClick(app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree")), Qt::Key_F1);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CommandTest, FullScreenIsLeftEveryWayAndCanBeEnteredAgain)
{
    const std::pair<const char*, std::function<void(QWidget*)>> ways[] = {
        {"Escape", [](QWidget* picture) { QTest::keyClick(picture, Qt::Key_Escape); }},
        {"Enter", [](QWidget* picture) { QTest::keyClick(picture, Qt::Key_Return); }},
        {"double-click", [](QWidget* picture) { QTest::mouseDClick(picture, Qt::LeftButton); }},
        {"window manager's close", [](QWidget* picture) { picture->window()->close(); }},
        {"click, then Enter", [](QWidget* picture) {
             QTest::mouseClick(picture, Qt::LeftButton);
             QCoreApplication::processEvents(); // any activation the click asked for
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         }},
    };
    StartActive();
    for (const auto& [name, leave] : ways) {
        SCOPED_TRACE(name);
        QTest::keyClick(&Window(), Qt::Key_Return);
        ASSERT_TRUE(app->Player().IsFullScreen());
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return QApplication::focusWidget() != nullptr && QApplication::focusWidget()->window() != &Window();
        }, kEngineWaitMs));
        QWidget* picture = QApplication::focusWidget();
        leave(picture);
        EXPECT_FALSE(app->Player().IsFullScreen());
        EXPECT_EQ(picture->window(), &Window());
        Window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Window()));
    }
}

TEST_F(CommandTest, TheKeyboardContextMenuOpensOverThePicture)
{
    StartActive();
    QRect opened;
    QTimer::singleShot(0, [&] {
        (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
        if (QWidget* menu = QApplication::activePopupWidget()) {
            opened = menu->geometry();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(-1, -1), QPoint(-1, -1));
    QApplication::sendEvent(&Window(), &event);
    const QWidget* video = app->Player().VideoWidget();
    // At the centre, or moved from it only as far as the screen needs: over the picture.
    EXPECT_TRUE(opened.contains(video->mapToGlobal(video->rect().center()))) << opened.x() << ',' << opened.y();
}

TEST_F(CommandTest, F10AndALoneAltOpenTheMenuBarEscapeClosesIt)
{
    StartActive();
    const auto opened = [this](const std::function<void()>& press) {
        QMenu* shown = nullptr;
        QTimer::singleShot(0, [&] {
            (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
            shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (shown != nullptr)
                QTest::keyClick(shown, Qt::Key_Escape);
        });
        press();
        return shown;
    };
    EXPECT_EQ(opened([this] { QTest::keyClick(&Window(), Qt::Key_F10); }), app->Actions().Menu(MenuChannels));
    EXPECT_EQ(opened([this] {
                  QTest::keyPress(&Window(), Qt::Key_Alt);
                  QTest::keyRelease(&Window(), Qt::Key_Alt);
              }),
              app->Actions().Menu(MenuChannels));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    // Alt as a modifier of another key opens nothing.
    QTest::keyPress(&Window(), Qt::Key_Alt);
    QTest::keyClick(&Window(), Qt::Key_X, Qt::AltModifier);
    QTest::keyRelease(&Window(), Qt::Key_Alt);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(CommandTest, LanguageReloadKeepsCheckMarksAndTheHiddenMenuPanel)
{
    WriteConfigFile("Settings.xml", SettingsXml(0, 1, 1, 1));
    ASSERT_TRUE(Start());
    app->Language().Reload(&Window(), app->GetSettings().languageName);
    EXPECT_TRUE(Window().MenuPanel().isHidden());
    EXPECT_TRUE(Checked(2, ID_HIDE_MENU));
    EXPECT_TRUE(Checked(4, ID_ALWAYS_ON_TOP));
    EXPECT_TRUE(Checked(1, ID_ORIGINAL_SIZE));
    EXPECT_FALSE(Checked(4, ID_FIT_TO_WINDOW));
    EXPECT_NE(Item(3, ID_DONATE), nullptr);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CommandTest, MenusListTheirItemsAndSeparatorsInOrder)
{
    // Each popup as "command:text" rows, "-" for a separator, in the English pack.
    const QStringList expected[] = {
        {"104:Show Channel List", "120:Find channel\tCtrl+F", "121:Add playlist...", "122:Add provider account...",
         "-", "140:Guide\tCtrl+G", "141:Add guide...", "142:Refresh guide", "146:Guides...",
         "143:Recordings...\tCtrl+Shift+R"},
        {"105:Play/Pause\tSpace", "106:Mute\tM", "-", "130:Pause\tP", "131:Back to live\tEnd", "132:Record\tCtrl+R",
         "133:Record from the buffer", "-", "107:Full Screen\tEnter", "108:Original Size",
         "109:Stretch to Window"},
        {"112:Hide Play Panel\tCtrl+H", "111:Hide Menu Bar\tCtrl+M", "-", "113:Always on Top\tCtrl+T", "119:Show hidden", "-",
         "114:Language...", "118:Preferences...\tCtrl+,"},
        {"117:Keyboard shortcuts\tF1", "-", "115:About Korvanta...", "116:Donate..."},
        {"104:Show Channel List", "120:Find channel\tCtrl+F", "121:Add playlist...", "122:Add provider account...",
         "140:Guide\tCtrl+G", "-",
         "105:Play/Pause\tSpace", "106:Mute\tM", "-", "130:Pause\tP", "131:Back to live\tEnd", "132:Record\tCtrl+R",
         "133:Record from the buffer", "-", "107:Full Screen\tEnter", "108:Original Size", "109:Stretch to Window", "-",
         "112:Hide Play Panel\tCtrl+H", "111:Hide Menu Bar\tCtrl+M", "-", "113:Always on Top\tCtrl+T", "119:Show hidden", "-",
         "114:Language...", "118:Preferences...\tCtrl+,", "-", "117:Keyboard shortcuts\tF1", "115:About Korvanta...",
         "116:Donate..."},
    };
    ASSERT_TRUE(Start());
    for (int popup = 0; popup < kPopupCount; ++popup) {
        QStringList rows;
        for (const QAction* action : app->Actions().Menu(popup)->actions())
            rows << (action->isSeparator() ? QStringLiteral("-")
                                           : QString::number(action->data().toInt()) + ':' + action->text());
        EXPECT_EQ(rows, expected[popup]) << "popup " << popup;
    }
}

TEST_F(CommandTest, MenuItemsCarryTheirShortcutSuffixes)
{
    ASSERT_TRUE(Start());
    EXPECT_TRUE(Item(1, ID_PLAY_PAUSE)->text().endsWith(QStringLiteral("\tSpace")));
    EXPECT_TRUE(Item(1, ID_FULL_SCREEN)->text().endsWith(QStringLiteral("\tEnter")));
    EXPECT_TRUE(Item(4, ID_HIDE_MENU)->text().endsWith(QStringLiteral("\tCtrl+M")));
}

TEST_F(CommandTest, ChoosingALanguageSwitchesMenusMenuBarChannelWindowAndStatusTexts)
{
    WriteConfigFile("Settings.xml", SettingsXml(0, 1, 0));
    ASSERT_TRUE(Start());
    const QString englishTitle = app->Channels().windowTitle();
    // What is on screen when the language changes follows at once: a channel's description
    // and an unavailable channel's reason, on the status line and on the picture.
    auto* tree = app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    auto* description = app->Channels().findChild<QPlainTextEdit*>(QStringLiteral("description"));
    tree->setCurrentItem(tree->topLevelItem(0)->child(0)->child(0)); // a country's first channel
    const QString englishDescription = description->toPlainText();
    ASSERT_FALSE(englishDescription.isEmpty());
    StartChannel(QStringLiteral("http://127.0.0.1:9/one.m3u8"), QStringLiteral("One"));
    ReportState(PLAYSTATE_READY, UnavailableReason::Refused);
    EXPECT_EQ(app->Status().Text(), QStringLiteral("Channel unavailable: connection refused"));
    // The dialog is modal: choose German in it once it is up, then confirm.
    {
        const NextModalDialog choose([](QWidget* modal) {
            auto* language = qobject_cast<CLanguageDlg*>(modal);
            ASSERT_NE(language, nullptr);
            const auto found = language->List()->findItems(QStringLiteral("Deutsch"), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            language->List()->setCurrentItem(found[0]);
            qobject_cast<QAbstractButton*>(language->GetDlgItem(IDOK))->click();
        });
        app->Actions().Run(ID_LANGUAGE);
    }
    ASSERT_FALSE(HasFailure());
    EXPECT_EQ(app->GetSettings().languageName, QStringLiteral("German"));
    EXPECT_EQ(Item(1, ID_PLAY_PAUSE)->text(), QStringLiteral("Wiedergabe/Pause\tLeertaste"));
    EXPECT_EQ(Window().MenuPanel().ItemCount(), 4);
    EXPECT_TRUE(Window().MenuPanel().isHidden());
    EXPECT_TRUE(Checked(4, ID_HIDE_MENU));
    EXPECT_NE(app->Channels().windowTitle(), englishTitle);
    const QString germanReason = app->Language().Strings().Text(Status, 5) + QStringLiteral(": ") +
                                 app->Language().Strings().Text(StatusReasons, ReasonTextIndex(UnavailableReason::Refused));
    EXPECT_EQ(app->Status().Text(), germanReason);
    EXPECT_EQ(app->Player().Caption().Card(), QStringLiteral("One\n") + germanReason);
    EXPECT_EQ(description->toPlainText(), englishDescription); // the packs share one catalogue
    ReportState(PLAYSTATE_STOPPED);
    EXPECT_EQ(app->Status().Text(), QStringLiteral("Angehalten"));
    EXPECT_TRUE(boxes.Boxes().empty());
    Close();
    EXPECT_TRUE(config.ReadFile(QStringLiteral("Korvanta/Settings.xml")).contains("<Language name=\"German\" />"));
}

// As on a TV remote: digits typed over the picture (main row or keypad) pick a channel of
// the selected group, or of the list the playing one came from, by its tvg-chno, else by its
// place; after a pause or Enter. Escape drops the number; an unknown one says so and plays nothing.
TEST_F(CommandTest, DigitsPickAChannelByItsNumberAfterAPauseOrEnter)
{
    const QByteArray refused = "http://127.0.0.1:9/";
    config.WriteFile(QStringLiteral("numbered.m3u"),
                     "#EXTM3U\n#EXTINF:-1 tvg-chno=\"7\" group-title=\"G\",Seven\n" + refused + "a\n"
                     "#EXTINF:-1 group-title=\"G\",Second\n" + refused + "b\n"
                     "#EXTINF:-1 tvg-chno=\"2\" group-title=\"G\",Two\n" + refused + "c\n"
                     "#EXTINF:-1 group-title=\"G\",Fourth\n" + refused + "d\n");
    StartActive();
    app->AddPlaylists({config.FilePath(QStringLiteral("numbered.m3u"))});
    auto* tree = app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    QTreeWidgetItem* group = nullptr;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QTreeWidgetItem* playlist = tree->topLevelItem(tree->topLevelItemCount() - 1);
        playlist->setExpanded(true);
        group = playlist->text(0).startsWith(QLatin1String("numbered")) ? playlist->child(0) : nullptr;
        return group != nullptr;
    }, 10000));
    tree->setCurrentItem(group);
    const auto playing = [&] { return app->Playback().Current().name; };
    const auto shown = [&] { return app->Player().Caption().Number(); };

    QTest::keyClick(&Window(), Qt::Key_7);
    EXPECT_EQ(shown(), QStringLiteral("7"));
    EXPECT_TRUE(playing().isEmpty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return playing() == QStringLiteral("Seven"); }, kEngineWaitMs));
    EXPECT_TRUE(shown().isEmpty());

    QTest::keyClick(&Window(), Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&Window(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(playing(), QStringLiteral("Fourth"));
    EXPECT_FALSE(app->Player().IsFullScreen()); // Enter went to the number

    QTest::keyClick(&Window(), Qt::Key_3);
    QTest::keyClick(&Window(), Qt::Key_Escape);
    EXPECT_TRUE(shown().isEmpty());
    app->Player().Events().KeyDown(QKeyCombination(Qt::Key_2)); // on the picture
    app->Player().Events().KeyDown(QKeyCombination(Qt::Key_Return));
    EXPECT_EQ(playing(), QStringLiteral("Two")); // its own number, not the second place

    QTest::keyClick(&Window(), Qt::Key_1);
    QTest::keyClick(&Window(), Qt::Key_Return);
    EXPECT_EQ(playing(), QStringLiteral("Two"));
    EXPECT_EQ(shown(), QStringLiteral("No channel has the number 1"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown().isEmpty(); }, kEngineWaitMs));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// Dropped links and lines of text are sorted into playlist files and addresses, and what is
// not one, which the viewer is told of by name; nothing of that is added.
TEST_F(CommandTest, DropsAddPlaylistsAndNameWhatIsNotOne)
{
    struct Case {
        QList<QUrl> links;
        QString text;
        QStringList playlists;
        QStringList refused;
    };
    const Case cases[] = {
        {{QUrl::fromLocalFile(QStringLiteral("/tv/a.M3U"))}, {}, {"/tv/a.M3U"}, {}},
        {{QUrl(QStringLiteral("http://h/tv"))}, {}, {"http://h/tv"}, {}},
        {{}, QStringLiteral("https://h/a.m3u\r\n\nhttp://h/b\n"), {"https://h/a.m3u", "http://h/b"}, {}},
        {{QUrl::fromLocalFile(QStringLiteral("/tv/film.mp4")), QUrl(QStringLiteral("ftp://h/x.m3u"))}, {},
         {}, {"film.mp4", "ftp://h/x.m3u"}},
        {{}, QStringLiteral("see this\nhttp://h/c.m3u"), {"http://h/c.m3u"}, {"see this"}},
    };
    for (const Case& c : cases) {
        QMimeData data;
        if (!c.links.isEmpty())
            data.setUrls(c.links);
        else
            data.setText(c.text);
        const DroppedSources dropped = DroppedPlaylists(data);
        EXPECT_EQ(dropped.playlists, c.playlists) << qPrintable(c.text);
        EXPECT_EQ(dropped.refused, c.refused) << qPrintable(c.text);
    }

    StartActive();
    QMimeData film;
    film.setUrls({QUrl::fromLocalFile(config.FilePath(QStringLiteral("film.mp4")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &film, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Window(), &enter);
    EXPECT_TRUE(enter.isAccepted()); // let in, to be told what it is
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &film, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Window(), &drop);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_TRUE(boxes.Boxes()[0].text.startsWith(QStringLiteral("film.mp4: only .m3u and .m3u8 files")));
    EXPECT_TRUE(app->Player().Caption().Hint().startsWith(QStringLiteral("No channels of your own yet.")));
}

// A playlist's node shows how far its load got, its accessible name too, and its menu,
// opened from the keyboard, cancels it: a refresh keeps the channels, an add leaves no
// playlist and its node goes; neither says anything went wrong.
TEST_F(CommandTest, ALoadingPlaylistShowsItsProgressOnItsNodeAndIsCancelledFromItsMenu)
{
    TinyHttpServer server;
    server.responses["/tv.m3u"] = HttpResponse("200 OK", "#EXTM3U\n#EXTINF:-1,One\nhttp://s/1\n#EXTINF:-1,Two\nhttp://s/2\n");
    StartActive();
    PlaylistLibrary& library = app->OwnPlaylists();
    app->AddPlaylists({server.Url("/tv.m3u")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.Playlists().size() == 1 && !library.IsBusy(); }, 10000));
    auto* tree = app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree"));
    const int nodes = tree->topLevelItemCount();
    QTreeWidgetItem* node = tree->topLevelItem(nodes - 1);
    ASSERT_EQ(node->text(0), "tv (2)");
    EXPECT_TRUE(node->data(0, ChannelItemDelegate::DetailRole).toString().isEmpty()); // its address may hold a token

    QByteArray big = "#EXTM3U\n";
    for (int k = 0; k < 100000; ++k)
        big += "#EXTINF:-1,Channel " + QByteArray::number(k) + "\nhttp://s/" + QByteArray::number(k) + "\n";
    for (const char* path : {"/tv.m3u", "/new.m3u"}) {
        server.responses[path] = HttpResponse("200 OK", big);
        server.heldBack[path] = big.size() / 2;
    }
    QAccessible::setActive(true);
    const auto cancelFromMenu = [&](QTreeWidgetItem* item, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QTimer::singleShot(0, [&] {
            (void)QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; });
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            for (QAction* action : menu->actions()) {
                if (action->text() == app->Language().Strings().Text(Guide, GuideCancelMenu))
                    menu->setActiveAction(action);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        tree->setCurrentItem(item);
        QTest::keyClick(tree, key, modifiers);
    };

    library.Refresh(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return node->text(0) == "tv (45%)"; }, 10000)) << qPrintable(node->text(0));
    tree->scrollToItem(node);
    const QPoint at = tree->viewport()->mapToGlobal(tree->visualItemRect(node).center());
    QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(tree)->childAt(at.x(), at.y());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "tv (45%)");
    cancelFromMenu(node, Qt::Key_Menu, Qt::NoModifier);
    EXPECT_EQ(tree->topLevelItem(nodes - 1)->text(0), "tv (2)");
    EXPECT_EQ(library.Playlists()[0].channels.size(), 2u);

    app->AddPlaylists({server.Url("/new.m3u")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return tree->topLevelItemCount() == nodes + 1
                                             && tree->topLevelItem(nodes)->text(0) == "new (45%)"; }, 10000));
    cancelFromMenu(tree->topLevelItem(nodes), Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(tree->topLevelItemCount(), nodes);
    EXPECT_FALSE(library.IsBusy());
    EXPECT_EQ(library.Playlists().size(), 1u);
    EXPECT_TRUE(boxes.Boxes().empty());
    QAccessible::setActive(false);
}

// The README's tables of keys name exactly the keys the program binds: those of the table
// of actions, and the few its key handler takes before the table (digits, Alt, Tab).
TEST(KeyTableTest, TheReadmeNamesEveryBoundKeyAndNoOther)
{
    QFile readme(QStringLiteral(KORVANTA_SOURCE_DIR "/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    std::set<QString> documented;
    bool inTable = false;
    for (const QByteArray& raw : readme.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        inTable = line.startsWith(QLatin1Char('|')) && (inTable || line.startsWith(QLatin1String("| Key |")));
        if (!inTable || line.startsWith(QLatin1String("| Key |")) || line.startsWith(QLatin1String("| ---")))
            continue;
        QString cell = line.section(QLatin1Char('|'), 1, 1);
        cell.remove(QRegularExpression(QStringLiteral("\\(.*\\)")));
        for (const QString& key : cell.trimmed().split(QRegularExpression(QStringLiteral(" / | or |, ")), Qt::SkipEmptyParts))
            documented.insert(key.trimmed());
    }
    const std::map<QString, QString> readmeNames = {{"PgUp", "Page Up"}, {"PgDown", "Page Down"}, {"Return", "Enter"},
                                                    {"Ins", "Insert"},   {"Del", "Delete"}};
    std::set<QString> bound = {QStringLiteral("0\u20139"), QStringLiteral("Alt"), QStringLiteral("Tab")};
    for (const KeyBinding& binding : KeyBindings()) {
        const QString name = QKeySequence(binding.key).toString(QKeySequence::PortableText);
        const auto renamed = readmeNames.find(name);
        bound.insert(renamed != readmeNames.end() ? renamed->second : name);
    }
    const auto listed = [](const std::set<QString>& keys) { return QStringList(keys.begin(), keys.end()).join(" ").toStdString(); };
    EXPECT_EQ(listed(documented), listed(bound));
}
