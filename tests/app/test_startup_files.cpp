// Start-up over every file the program reads, in every state a file can be found in: the
// windows come up whole, and the only boxes are the warnings and fatal errors the program
// has always shown for a missing language pack.

#include "MainWindowFixture.h"
#include "WinApp.h"

#include "GuidanceTexts.h"
#include "GuideDatabase.h"
#include "PlaylistCache.h"
#include "PlaylistTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QSet>
#include <QTest>
#include <QTreeWidget>

#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class State { Missing, Empty, Garbage, Folder, Fifo, NoPermission, LinkLoop, Truncated };
constexpr State kStates[] = {State::Missing, State::Empty,        State::Garbage,  State::Folder,
                             State::Fifo,    State::NoPermission, State::LinkLoop, State::Truncated};
const char* const kStateNames[] = {"missing", "empty", "garbage", "folder", "fifo", "no permission", "link loop",
                                   "truncated"};

const QString kRemote = QStringLiteral("http://127.0.0.1:1/list.m3u"); // nothing answers there
const QByteArray kLocalList = "#EXTM3U\n#EXTINF:-1,Local One\nhttp://127.0.0.1:1/a.m3u8\n"
                              "#EXTINF:-1,Local Two\nhttp://127.0.0.1:1/b.m3u8\n";
const QByteArray kRemoteList = "#EXTM3U\n#EXTINF:-1,Remote One\nhttp://127.0.0.1:1/one.m3u8\n";
const QByteArray kFavorites = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Favorites>\r\n"
                              "    <Channel name=\"Remote One\" id=\"0\" icon=\"12\" "
                              "address=\"http://127.0.0.1:1/one.m3u8\" playlist=\"web\" />\r\n"
                              "    <Channel name=\"Music\" id=\"65537\" icon=\"3\" />\r\n</Favorites>\r\n";
const QString kLanguageWarning = QStringLiteral("Cannot open %1 language file, will be used English.");
const QString kLanguageError = QStringLiteral("Cannot open language file. Please reinstall the program.");

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The names of files opened or made in the watched folders, as the kernel reports them.
class OpenedFiles
{
public:
    explicit OpenedFiles(const QStringList& folders) : fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString& folder : folders)
            inotify_add_watch(fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_CREATE);
    }
    ~OpenedFiles() { close(fd); }
    OpenedFiles(const OpenedFiles&) = delete;
    OpenedFiles& operator=(const OpenedFiles&) = delete;

    QSet<QString> Names()
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t length;
        while ((length = read(fd, buffer, sizeof buffer)) > 0) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0)
                    names.insert(QFile::decodeName(event->name));
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

private:
    int fd;
    QSet<QString> names;
};

void Put(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    file.write(bytes);
}

// Leaves at path what the state describes, made from the file's good bytes.
void Spoil(const QString& path, State state, const QByteArray& good)
{
    const QByteArray native = QFile::encodeName(path);
    QFile::remove(path);
    switch (state) {
    case State::Missing: break;
    case State::Empty: Put(path, {}); break;
    case State::Garbage: Put(path, QByteArray("\x00\xFF\xFE\x80<\x01", 6).repeated(1000)); break;
    case State::Folder: QDir().mkpath(path); break;
    case State::Fifo: ASSERT_EQ(::mkfifo(native.constData(), 0600), 0); break;
    case State::NoPermission: // as root the file stays readable, as for the owner of any file
        Put(path, good);
        ::chmod(native.constData(), 0);
        break;
    case State::LinkLoop: ASSERT_EQ(::symlink(native.constData(), native.constData()), 0); break;
    case State::Truncated: Put(path, good.left(good.size() / 2)); break;
    }
}

// Whether the program finds the file unusable: as root, a file without permissions is
// still read.
bool Spoilt(State state)
{
    return state != State::NoPermission || ::geteuid() != 0;
}

} // namespace

class StartupFilesTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        qputenv("XDG_CACHE_HOME", work.FilePath(QStringLiteral("cache")).toUtf8());
        // The language packs are copies, to be spoilt; the skin is the staged one.
        QFile::link(QStringLiteral(KORVANTA_DATA_DIR "/Skin"), work.FilePath(QStringLiteral("Skin")));
        for (const char* file : {"English/Main.xml", "English/Channels.xml", "German/Main.xml"}) {
            const QString name = QStringLiteral("Languages/") + QLatin1String(file);
            languageFiles.emplace_back(work.FilePath(name), ReadAll(QStringLiteral(KORVANTA_DATA_DIR "/") + name));
        }
        UseWorkingDirectory(work.Path());
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        qputenv("XDG_CACHE_HOME", previousCacheHome);
    }

    QString LocalList() const { return config.FilePath(QStringLiteral("mine.m3u")); }

    // Every file as a viewer's would be, in German, with a local and a downloaded playlist
    // and a favourite from the latter.
    void WriteGoodFiles()
    {
        QByteArray settings = SettingsXml(0, 0, 0);
        settings.replace("name=\"English\"", "name=\"German\"");
        WriteConfigFile("Settings.xml", settings);
        WriteConfigFile("Favorites.xml", kFavorites);
        const QByteArray fresh = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toUtf8();
        WriteConfigFile("Playlists.xml", "<Playlists><Playlist name=\"mine\" source=\"" + LocalList().toUtf8()
                                             + "\" /><Playlist name=\"web\" source=\"" + kRemote.toUtf8()
                                             + "\" lastRefresh=\"" + fresh + "\" /></Playlists>");
        Put(LocalList(), kLocalList);
        Put(PlaylistCachePath(kRemote), kRemoteList);
        for (const auto& [path, bytes] : languageFiles)
            Put(path, bytes);
        QFile::remove(GermanCatalogue()); // the English one serves
    }

    QString GermanCatalogue() const { return work.FilePath(QStringLiteral("Languages/German/Channels.xml")); }
    QByteArray Good(const QString& path) const
    {
        for (const auto& [file, bytes] : languageFiles)
            if (file == path)
                return bytes;
        return ReadAll(path);
    }

    // Starts as the program does, inside event dispatch, where an invalid-argument error
    // becomes a box; true when the start-up completed.
    bool StartDispatched()
    {
        app = std::make_unique<App>();
        bool started = false;
        CatchInvalidArgument([&] { started = app->Start(); });
        if (!started)
            return false;
        Window().show();
        return QTest::qWaitFor([this] { return app->AreWindowsShown() && !app->OwnPlaylists().IsBusy(); }, kEngineWaitMs);
    }

    QTreeWidget* Tree() const { return app->Channels().findChild<QTreeWidget*>(QStringLiteral("channelTree")); }

    TempDir work;
    std::vector<std::pair<QString, QByteArray>> languageFiles; // where, and their good bytes
    QByteArray previousCacheHome = qgetenv("XDG_CACHE_HOME");
};

TEST_F(StartupFilesTest, EveryFileInEveryStateLeavesBothWindowsWhole)
{
    struct File {
        QString path;
        const char* warnsAbout; // a chosen language the program falls back from, or null
        bool fatal;             // the program's designed end: no English texts at all
    };
    WriteGoodFiles();
    const QString german = work.FilePath(QStringLiteral("Languages/German/Main.xml"));
    const QString english = work.FilePath(QStringLiteral("Languages/English/Channels.xml"));
    const File files[] = {
        {ConfigFile("Settings.xml"), nullptr, false},
        {ConfigFile("Favorites.xml"), nullptr, false},
        {ConfigFile("Playlists.xml"), nullptr, false},
        {LocalList(), nullptr, false},
        {PlaylistCachePath(kRemote), nullptr, false},
        {german, "German", false},
        {GermanCatalogue(), nullptr, false},
        {english, nullptr, true},
    };
    for (const File& file : files) {
        const QByteArray good = file.path == GermanCatalogue() ? Good(english) : Good(file.path);
        for (const State state : kStates) {
            SCOPED_TRACE(file.path.toStdString() + ": " + kStateNames[static_cast<int>(state)]);
            WriteGoodFiles();
            Spoil(file.path, state, good);
            boxes.Clear();
            const bool started = StartDispatched();

            QStringList expected;
            if (file.warnsAbout != nullptr && Spoilt(state))
                expected.append(kLanguageWarning.arg(QLatin1String(file.warnsAbout)));
            const bool fatal = file.fatal && Spoilt(state);
            if (fatal)
                expected.append(kLanguageError);
            QStringList shown;
            for (const RecordedMessageBox& box : boxes.Boxes())
                shown.append(box.text);
            EXPECT_EQ(shown.join(QLatin1Char('|')).toStdString(), expected.join(QLatin1Char('|')).toStdString());
            EXPECT_EQ(started, !fatal);
            if (started) {
                EXPECT_TRUE(Window().isVisible());
                EXPECT_TRUE(app->Channels().isVisible());
                EXPECT_EQ(Window().MenuPanel().ItemCount(), 4);
                EXPECT_EQ(Window().PlayPanel().parentWidget(), &Window());
                EXPECT_GE(Tree()->topLevelItemCount(), 11);
                Close();
            }
            app.reset();
            QFile::remove(file.path);
            QDir(file.path).removeRecursively();
        }
    }
}

TEST_F(StartupFilesTest, PlaylistsThatCannotBeReadStayNotAvailableSayWhyAndTheirFavoritesPlay)
{
    WriteGoodFiles();
    QFile::remove(LocalList());
    QFile::remove(PlaylistCachePath(kRemote)); // downloaded again, from where nothing answers
    ASSERT_TRUE(StartDispatched());
    EXPECT_TRUE(boxes.Boxes().empty());
    const LanguageStrings& texts = app->Language().Strings();
    const QString unavailable = texts.Text(Playlists, PlaylistUnavailableNode);
    const int count = Tree()->topLevelItemCount();
    QTreeWidgetItem* local = Tree()->topLevelItem(count - 2);
    QTreeWidgetItem* web = Tree()->topLevelItem(count - 1);
    EXPECT_EQ(local->text(0), unavailable.arg(QStringLiteral("mine")));
    EXPECT_EQ(web->text(0), unavailable.arg(QStringLiteral("web")));
    auto* description = app->Channels().findChild<QPlainTextEdit*>(QStringLiteral("description"));
    Tree()->setCurrentItem(local);
    EXPECT_EQ(description->toPlainText(), texts.Text(Playlists, PlaylistCannotOpen));
    Tree()->setCurrentItem(web);
    EXPECT_EQ(description->toPlainText(), texts.Text(Guidance, GuidanceConnectionRefused)); // in the pack's words

    auto* favorites = app->Channels().findChild<QTreeWidget*>(QStringLiteral("favoritesList"));
    emit favorites->itemDoubleClicked(favorites->topLevelItem(0), 0);
    EXPECT_EQ(app->Playback().Current().address, QStringLiteral("http://127.0.0.1:1/one.m3u8"));
    EXPECT_EQ(app->Playback().Current().name, QStringLiteral("Remote One"));
    Close();
}

TEST_F(StartupFilesTest, TheGuideStoreAndThePlaylistsAreReadOnlyOnceBothWindowsAreOnScreen)
{
    WriteGoodFiles();
    const QString guide = GuideDatabase::DefaultPath();
    QDir().mkpath(QFileInfo(guide).path());
    const QStringList late = {QStringLiteral("Playlists.xml"), QFileInfo(LocalList()).fileName(),
                              QFileInfo(PlaylistCachePath(kRemote)).fileName(), QFileInfo(guide).fileName()};
    OpenedFiles opened({QFileInfo(ConfigFile("Playlists.xml")).path(), QFileInfo(LocalList()).path(),
                        QFileInfo(PlaylistCachePath(kRemote)).path(), QFileInfo(guide).path()});

    app = std::make_unique<App>();
    ASSERT_TRUE(app->Start());
    QCoreApplication::processEvents(); // what start-up posted, short of the main window's first frame
    for (const QString& name : late)
        EXPECT_FALSE(opened.Names().contains(name)) << name.toStdString();

    Window().show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.Names().contains(QSet<QString>(late.begin(), late.end())); },
                                kEngineWaitMs));
    Close();
}
