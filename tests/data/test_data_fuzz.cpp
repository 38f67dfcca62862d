// Mutated copies of valid files fed to every reader: none may crash, hang or break the
// invariants its callers rely on. Deterministic seeds keep failures reproducible.

#include "ChannelCatalogue.h"
#include "FavoritesFile.h"
#include "LanguagePack.h"
#include "SettingsFile.h"

#include "TempDir.h"
#include "WorkingDirectory.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

class Mutator
{
public:
    explicit Mutator(unsigned seed) : random(seed) {}

    QByteArray Mutate(QByteArray data)
    {
        const int steps = Pick(1, 4);
        for (int i = 0; i < steps; ++i)
            MutateOnce(data);
        return data;
    }

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

private:
    std::mt19937 random;

    void MutateOnce(QByteArray& data)
    {
        static const QByteArray tokens[] = {
            "<", ">", "&", "\"", "'", "/>", "</", "<!--", "-->", "<![CDATA[", "]]>", "&#x", "&#",
            "&amp;", "&#x0;", "&#99999999;", "<?xml ", "?>", "=", " id=\"", QByteArray(1, '\0'),
            "\xEF\xBB\xBF", "\xC3", "\xF0\x9F", "\xFF\xFE", "\xEF",
        };
        const int at = data.isEmpty() ? 0 : Pick(0, int(data.size()) - 1);
        switch (Pick(0, 5)) {
        case 0:
            if (!data.isEmpty())
                data[at] = char(Pick(0, 255));
            break;
        case 1:
            data.truncate(at);
            break;
        case 2:
            data.insert(at, tokens[Pick(0, int(std::size(tokens)) - 1)]);
            break;
        case 3:
            data.insert(at, QByteArray(Pick(0, 1) ? "<a>" : "<Item x='1'>").repeated(Pick(1, 5000)));
            break;
        case 4:
            data.remove(at, Pick(1, 64));
            break;
        default:
            data.insert(at, data.mid(Pick(0, int(data.size())), Pick(1, 256)));
            break;
        }
    }
};

QByteArray ReadAll(const char* path)
{
    QFile file(QString::fromUtf8(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Fuzz(const QByteArray& valid, int rounds, unsigned seed, const std::function<void(const QByteArray&)>& read)
{
    ASSERT_FALSE(valid.isEmpty());
    Mutator mutator(seed);
    for (int round = 0; round < rounds; ++round) {
        SCOPED_TRACE(round);
        read(mutator.Mutate(valid));
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace

TEST(DataFuzz, ReadersSurviveMutatedFiles)
{
    TempDir dir;
    WorkingDirectory cwd(dir.Path());
    ASSERT_TRUE(SaveSettings(dir.FilePath("Settings.xml"), Settings()));
    ASSERT_TRUE(SaveFavorites(dir.FilePath("Favorites.xml"), {"One", QString::fromUtf8("Дождь")}, {1, 0x20001}, {3, 4}));
    Fuzz(dir.ReadFile("Settings.xml"), 2000, 1, [&](const QByteArray& bytes) {
        dir.WriteFile("Settings.xml", bytes);
        Settings s;
        if (LoadSettings(dir.FilePath("Settings.xml"), s)) {
            ASSERT_TRUE(SaveSettings(dir.FilePath("Out.xml"), s));
        }
    });
    Fuzz(dir.ReadFile("Favorites.xml"), 2000, 2, [&](const QByteArray& bytes) {
        dir.WriteFile("Favorites.xml", bytes);
        QStringList n;
        QList<quint32> ids, icons;
        LoadFavorites(dir.FilePath("Favorites.xml"), n, ids, icons);
        ASSERT_TRUE(n.size() == ids.size() && n.size() == icons.size());
    });
    // A pack that does not parse gives way to the English one.
    for (const char* file : {"Main.xml", "Channels.xml"})
        dir.WriteFile(QStringLiteral("Languages/English/") + QLatin1String(file),
                      ReadAll((KORVANTA_DATA_DIR "/Languages/English/" + std::string(file)).c_str()));
    Fuzz(ReadAll(KORVANTA_DATA_DIR "/Languages/English/Main.xml"), 2000, 3, [&](const QByteArray& bytes) {
        dir.WriteFile("Languages/Fuzz/Main.xml", bytes);
        QString name = QStringLiteral("Fuzz");
        LanguageStrings strings;
        ASSERT_TRUE(LoadLanguagePack(nullptr, name, strings));
    });
    Fuzz(ReadAll(KORVANTA_DATA_DIR "/Languages/English/Channels.xml"), 500, 4, [&](const QByteArray& bytes) {
        dir.WriteFile("Languages/Fuzz/Channels.xml", bytes);
        ChannelLists names, descriptions;
        ASSERT_TRUE(LoadChannelCatalogue(QStringLiteral("Fuzz"), names, descriptions));
        for (int section = 0; section < kSectionCount; ++section)
            ASSERT_EQ(names[section].size(), descriptions[section].size());
    });
}

TEST(DataFuzz, AnyFavoriteNameReadsBackAsWritten)
{
    static const char32_t alphabet[] = {U'a', U' ', U'\t', U'\n', U'\r', U'&', U'#', U'x', U';', U'<', U'>', U'"',
                                        U'\'', 0xE9, 0x20AC, 0x1F4FA, 0x01, 0x1F, 0x7F, 0x85, 0x2028, U'4'};
    TempDir dir;
    Mutator random(5);
    for (int round = 0; round < 300; ++round) {
        QStringList names;
        QList<quint32> ids;
        for (int n = random.Pick(0, 5); n > 0; --n) {
            names.append(QString());
            for (int length = random.Pick(0, 40); length > 0; --length)
                names.last() += QString::fromUcs4(&alphabet[random.Pick(0, int(std::size(alphabet)) - 1)], 1);
            ids.append(quint32(random.Pick(0, 1 << 30)) * 4u);
        }
        ASSERT_TRUE(SaveFavorites(dir.FilePath("f.xml"), names, ids, ids));
        QStringList readNames;
        QList<quint32> readIds, readIcons;
        ASSERT_TRUE(LoadFavorites(dir.FilePath("f.xml"), readNames, readIds, readIcons));
        ASSERT_EQ(readNames, names) << round;
        ASSERT_EQ(readIds, ids);
        ASSERT_EQ(readIcons, ids);
    }
}
