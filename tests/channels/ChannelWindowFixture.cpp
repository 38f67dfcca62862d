#include "ChannelWindowFixture.h"

#include "BuiltinTexts.h"
#include "ChannelTree.h"
#include "CommandId.h"

#include <QTreeWidgetItemIterator>

const std::array<int, kSectionCount> kTableCounts = {
    51, 8, 8, 31, 21, 14, 16, 6, 26, 7, 34, 14, 57, 26, 21, 34, 42, 38, 23, 18, 47, 19,
};

LanguageStrings MakeStrings(const QString& tag)
{
    LanguageStrings made;
    for (const char* text : {"Channels", "All", "Favourites", "Play", "Play tip", "Add tip",
                             "Remove tip", "Up tip", "Down tip"})
        made[ChannelsDialog].append(tag + QString::fromLatin1(text));
    for (int k = 0; k < 12; ++k) {
        made[Groups].append(tag + QStringLiteral("G%1").arg(k));
        made[Countries].append(tag + QStringLiteral("C%1").arg(k));
    }
    made[Playlists] = BuiltinTexts(Playlists);
    made[Access] = BuiltinTexts(Access);
    return made;
}

ChannelLists MakeCatalogue(const QString& prefix)
{
    ChannelLists lists;
    for (int s = 0; s < kSectionCount; ++s) {
        for (int p = 0; p < kTableCounts[s]; ++p)
            lists[s].append(prefix + QStringLiteral("%1.%2").arg(s + 1).arg(p));
    }
    return lists;
}

void ChannelWindowTest::SetUp()
{
    strings = MakeStrings(QString());
    names = MakeCatalogue(QStringLiteral("N"));
    descriptions = MakeCatalogue(QStringLiteral("D"));
    mainWindow = std::make_unique<MainWindowStub>();
    mainWindow->setWindowTitle(QStringLiteral("Korvanta"));
}

void ChannelWindowTest::TearDown()
{
    dlg.reset();
    mainWindow.reset();
}

void ChannelWindowTest::CreateWindow()
{
    favoriteList.Set(favorites);
    dlg = std::make_unique<ChannelWindow>(strings, directory, favoriteList, zapper);
    MainWindowStub* stub = mainWindow.get();
    QObject::connect(dlg.get(), &ChannelWindow::ChannelChosen, stub, &MainWindowStub::Start);
    QObject::connect(&zapper, &Zapper::ChannelChosen, stub, &MainWindowStub::Start);
    QObject::connect(&zapper, &Zapper::FavoriteReached, dlg.get(), &ChannelWindow::SelectFavorite);
    QObject::connect(&zapper, &Zapper::ResultReached, dlg.get(), &ChannelWindow::SelectResult);
    QObject::connect(dlg.get(), &ChannelWindow::ChannelChosen, dlg.get(), &ChannelWindow::ChannelStarted);
    QObject::connect(&zapper, &Zapper::ChannelChosen, dlg.get(), &ChannelWindow::ChannelStarted);
    QObject::connect(dlg.get(), &ChannelWindow::AddCurrentRequested, dlg.get(),
                     [this] { dlg->AddFavoriteOf(mainWindow->Last()); });
    zapper.SetSelectedGroup([this] { return dlg->Tree().Selected(); });
    dlg->Create(mainWindow.get());
    dlg->resize(300, 500);
    dlg->show();
}

QTreeWidget* ChannelWindowTest::Tree() const
{
    return dlg->findChild<QTreeWidget*>(QStringLiteral("channelTree"));
}

QTreeWidget* ChannelWindowTest::List() const
{
    return dlg->findChild<QTreeWidget*>(QStringLiteral("favoritesList"));
}

QTabBar* ChannelWindowTest::Tabs() const
{
    return dlg->findChild<QTabBar*>(QStringLiteral("tabs"));
}

QPlainTextEdit* ChannelWindowTest::Description() const
{
    return dlg->findChild<QPlainTextEdit*>(QStringLiteral("description"));
}

QToolButton* ChannelWindowTest::Button(int command) const
{
    return dlg->findChild<QToolButton*>(QStringLiteral("button%1").arg(command));
}

QTreeWidgetItem* ChannelWindowTest::TreeItem(ChannelId id) const
{
    for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it) {
        if ((*it)->data(0, Qt::UserRole).toUInt() == id)
            return *it;
    }
    return nullptr;
}

void ChannelWindowTest::AddFavorite(const QString& name, ChannelId id, quint32 icon)
{
    favorites.push_back({name, id, icon, OwnStream()});
}

FavoriteFields ChannelWindowTest::Saved() const
{
    FavoriteFields fields;
    for (const Favorite& favorite : favoriteList.All()) {
        fields.names.append(favorite.name);
        fields.ids.append(favorite.id);
        fields.icons.append(favorite.icon);
        fields.streams.append(favorite.stream);
    }
    return fields;
}

void ChannelWindowTest::StartFromTree(ChannelId id)
{
    QTreeWidgetItem* item = TreeItem(id);
    ASSERT_NE(item, nullptr);
    Tree()->setCurrentItem(item);
    Button(ID_CHANNEL_PLAY)->click();
}
