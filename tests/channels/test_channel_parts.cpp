// The channel side's parts without a window: what the directory knows of a channel, the
// favourites as records and their file, and where zapping and numbers lead.

#include "BuiltinTexts.h"
#include "ChannelDirectory.h"
#include "Favorites.h"
#include "TempDir.h"
#include "Zapper.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

PlaylistChannel Own(const QString& name, const QString& number = {})
{
    PlaylistChannel channel;
    channel.name = name;
    channel.address = QStringLiteral("http://127.0.0.1:9/") + name + QStringLiteral(".m3u8");
    channel.group = QStringLiteral("News");
    channel.userAgent = QStringLiteral("Agent/1");
    channel.number = number;
    return channel;
}

class ChannelParts : public ::testing::Test
{
protected:
    void SetUp() override
    {
        texts[Playlists] = BuiltinTexts(Playlists);
        Playlist list;
        list.name = QStringLiteral("Mine");
        list.channels = {Own(QStringLiteral("One")), Own(QStringLiteral("Two"), QStringLiteral("7")),
                         Own(QStringLiteral("Three"))};
        playlists.push_back(list);
        connect(&zapper);
    }

    void connect(Zapper* z)
    {
        QObject::connect(z, &Zapper::ChannelChosen, [this](const ChannelRequest& request) { started.push_back(request.name); });
    }

    static ChannelKey Key(int entry) { return ChannelKey{0, 0, entry}; }
    std::vector<ChannelKey> All() const { return {Key(0), Key(1), Key(2)}; }

    LanguageStrings texts;
    ChannelLists names;
    ChannelLists descriptions;
    std::vector<Playlist> playlists;
    ChannelDirectory directory{texts, names, descriptions, playlists};
    Favorites favorites;
    Zapper zapper{directory, favorites};
    QStringList started;
};

TEST_F(ChannelParts, TheDirectoryMakesRequestsWithTheirHeadersAndFindsThemAgain)
{
    const ChannelRequest request = directory.RequestOf(Key(1), {ChannelOrigin::List::TreeGroup, QStringLiteral("News"), 1});
    EXPECT_EQ(request.name, QStringLiteral("Two"));
    EXPECT_EQ(request.headers.userAgent, QStringLiteral("Agent/1"));
    EXPECT_EQ(request.playlist, QStringLiteral("Mine"));
    EXPECT_EQ(request.group, QStringLiteral("News"));
    EXPECT_EQ(directory.DescriptionOf(Key(1)), QStringLiteral("Group: News\nPlaylist: Mine\nServer: 127.0.0.1"));
    EXPECT_TRUE(directory.RequestOf(Key(5), {}).IsEmpty()); // the playlist shrank since

    // A channel's own number wins over a place that happens to be the same.
    EXPECT_EQ(directory.NumberedPosition(All(), 7), 1);
    EXPECT_EQ(directory.NumberedPosition(All(), 1), 0);
    EXPECT_EQ(directory.NumberedPosition(All(), 2), -1); // the second place holds number 7

    // The channel a request plays is found again after the playlist changed around it.
    playlists[0].channels.insert(playlists[0].channels.begin(), Own(QStringLiteral("New")));
    EXPECT_EQ(directory.KeyOf(request), Key(2));
    EXPECT_EQ(directory.KeyOfStream(ChannelDirectory::OwnStreamOf(request)), Key(2));
}

TEST_F(ChannelParts, FavoritesAreRecordsWithoutTwinsAndTheirFileKeepsItsBytes)
{
    QSignalSpy changed(&favorites, &Favorites::Changed);
    const OwnStream stream = directory.StreamOf(Key(0));
    EXPECT_EQ(favorites.Add({QStringLiteral("A"), MakeChannelId(4, 0), 4, {}}), 0);
    EXPECT_EQ(favorites.Add({QStringLiteral("A again"), MakeChannelId(4, 0), 4, {}}), -1);
    EXPECT_EQ(favorites.Add({QStringLiteral("Nothing"), 0, 0, {}}), -1); // names no channel
    EXPECT_EQ(favorites.Add({QStringLiteral("One"), 0, 0, stream}), 1);
    EXPECT_EQ(favorites.Add({QStringLiteral("One again"), 0, 0, stream}), -1);
    EXPECT_TRUE(favorites.Move(1, -1));
    EXPECT_FALSE(favorites.Move(0, -1));
    EXPECT_EQ(favorites.At(0).name, QStringLiteral("One"));
    EXPECT_EQ(favorites.CountFrom(playlists[0]), 1);
    EXPECT_EQ(changed.count(), 3);

    TempDir folder;
    const QString path = folder.FilePath(QStringLiteral("Favorites.xml"));
    ASSERT_TRUE(favorites.Save(path));
    EXPECT_EQ(folder.ReadFile(QStringLiteral("Favorites.xml")),
              QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites>\r\n"
                         "    <Channel name=\"One\" id=\"0\" icon=\"0\" address=\"http://127.0.0.1:9/One.m3u8\" "
                         "agent=\"Agent/1\" playlist=\"Mine\" group=\"News\" />\r\n"
                         "    <Channel name=\"A\" id=\"4\" icon=\"4\" />\r\n</Favorites>\r\n"));
    Favorites loaded;
    ASSERT_TRUE(loaded.Load(path));
    EXPECT_EQ(loaded.All(), favorites.All());

    // A file that cannot be written says why and leaves the old one as it was.
    QString reason;
    EXPECT_FALSE(favorites.Save(folder.FilePath(QStringLiteral("missing/Favorites.xml")), &reason));
    EXPECT_FALSE(reason.isEmpty());
}

TEST_F(ChannelParts, ZappingWrapsAlongTheListItCameFromAndNumbersFindTheirChannel)
{
    EXPECT_FALSE(zapper.CanZap());
    zapper.Zap(+1, {});
    EXPECT_TRUE(started.isEmpty());

    zapper.Remember({ChannelOrigin::List::TreeGroup, QStringLiteral("News"), 2}, All());
    zapper.Zap(+1, {});
    zapper.Zap(-1, {});
    zapper.Zap(-1, {});
    EXPECT_EQ(started, QStringList({"One", "Three", "Two"}));
    EXPECT_TRUE(zapper.PlayNumber(7));
    EXPECT_FALSE(zapper.PlayNumber(9));
    EXPECT_EQ(started.last(), QStringLiteral("Two"));

    // From the favourites, the row that holds the channel playing leads on.
    favorites.Set({{QStringLiteral("F1"), 0, 0, directory.StreamOf(Key(2))},
                   {QStringLiteral("F2"), 0, 0, directory.StreamOf(Key(0))}});
    QSignalSpy reached(&zapper, &Zapper::FavoriteReached);
    zapper.Remember({ChannelOrigin::List::Favourites, QStringLiteral("Favourites"), 0});
    const ChannelRequest onF2 = zapper.FavoriteRequest(1);
    zapper.Zap(+1, onF2);
    EXPECT_EQ(started.last(), QStringLiteral("F1"));
    ASSERT_EQ(reached.count(), 1);
    EXPECT_EQ(reached[0][0].toInt(), 0);
    EXPECT_TRUE(zapper.PlayNumber(2));
    EXPECT_EQ(started.last(), QStringLiteral("F2"));

    // Before any start, a number is looked for in the selected group.
    Zapper fresh{directory, favorites};
    connect(&fresh);
    fresh.SetSelectedGroup([this] { return SelectedGroup{QStringLiteral("News"), All()}; });
    EXPECT_TRUE(fresh.PlayNumber(3));
    EXPECT_EQ(started.last(), QStringLiteral("Three"));
    EXPECT_EQ(fresh.Origin().name, QStringLiteral("News"));
}

} // namespace
