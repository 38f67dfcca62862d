#include "ChannelWindowFixture.h"

#include "BuiltinTexts.h"

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
    dlg = std::make_unique<CChannelDlg>(strings, names, descriptions, playlists);
    dlg->SetFavorites(favorites);
    ASSERT_TRUE(dlg->Create(mainWindow.get()));
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
    favorites.names.append(name);
    favorites.ids.append(id);
    favorites.icons.append(icon);
    favorites.streams.append(OwnStream());
}

void ChannelWindowTest::StartFromTree(ChannelId id)
{
    QTreeWidgetItem* item = TreeItem(id);
    ASSERT_NE(item, nullptr);
    Tree()->setCurrentItem(item);
    Button(CChannelDlg::ID_CHANNEL_PLAY)->click();
}
