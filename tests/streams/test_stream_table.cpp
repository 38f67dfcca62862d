#include "EcbEncrypt.h"
#include "StreamTable.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <gtest/gtest.h>

#include <set>

namespace {

struct Slot
{
    int section;
    int position;
    QString address;
};

// The channel list the table was generated from (header line, then one slot a row).
std::vector<Slot> ReadList(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> lines = file.readAll().split('\n');
    const QList<QByteArray> header = lines.takeFirst().trimmed().split('\t');
    const qsizetype urlColumn = header.indexOf("url");
    std::vector<Slot> slotList;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() <= urlColumn)
            continue;
        slotList.push_back({fields[0].toInt(), fields[1].toInt(), QString::fromUtf8(fields[urlColumn])});
    }
    return slotList;
}

bool UsingTheShippedList()
{
    return QFileInfo(KORVANTA_STREAM_LIST).canonicalFilePath()
        == QFileInfo(KORVANTA_SOURCE_DIR "/data/channels.tsv").canonicalFilePath();
}

StreamEntry EntryFor(const QByteArray& ciphertext)
{
    return {static_cast<std::uint32_t>(ciphertext.size()),
            reinterpret_cast<const unsigned char*>(ciphertext.constData())};
}

// Encrypts a plaintext with the program's key, as the table generator does.
QByteArray Encrypted(const QByteArray& plaintext)
{
    return EncryptEcb(KeyedCipher("w4kp9z"), plaintext);
}

QByteArray Padded(QByteArray text)
{
    text.append('\0');
    while (text.size() % 8)
        text.append('\0');
    return text;
}

} // namespace

TEST(StreamTable, EverySlotResolvesToExactlyItsListedAddress)
{
    const std::vector<Slot> list = ReadList(KORVANTA_STREAM_LIST);
    ASSERT_FALSE(list.empty());
    int perSection[kSectionCount + 1] = {};
    for (const Slot& slot : list) {
        SCOPED_TRACE(slot.address.toStdString());
        const std::optional<QString> address = ResolveStreamAddress(MakeChannelId(slot.section, slot.position));
        ASSERT_TRUE(address.has_value());
        EXPECT_EQ(*address, slot.address);
        ++perSection[slot.section];
    }
    for (int section = 1; section <= kSectionCount; ++section)
        EXPECT_EQ(StreamTableCount(section), perSection[section]) << "section " << section;
}

TEST(StreamTable, SlotsShareAnEntryExactlyWhenTheirAddressesAgree)
{
    QHash<QString, const StreamEntry*> entryOf;
    std::set<const StreamEntry*> distinct;
    for (const Slot& slot : ReadList(KORVANTA_STREAM_LIST)) {
        const StreamEntry* entry = FindStreamEntry(MakeChannelId(slot.section, slot.position));
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->length % 8, 0u);
        const auto known = entryOf.constFind(slot.address);
        if (known != entryOf.constEnd()) {
            EXPECT_EQ(*known, entry) << slot.address.toStdString();
        } else {
            EXPECT_TRUE(distinct.insert(entry).second) << slot.address.toStdString();
        }
        entryOf.insert(slot.address, entry);
    }
}

TEST(StreamTable, ShippedListHasTheDesignedCountsAndSharedPairs)
{
    if (!UsingTheShippedList())
        GTEST_SKIP() << "built from another channel list";
    const int counts[kSectionCount] = {51, 8, 8, 31, 21, 14, 16, 6, 26, 7, 34,
                                       14, 57, 26, 21, 34, 42, 38, 23, 18, 47, 19};
    std::set<const StreamEntry*> distinct;
    int slotCount = 0;
    for (int section = 1; section <= kSectionCount; ++section) {
        EXPECT_EQ(StreamTableCount(section), counts[section - 1]) << "section " << section;
        for (int position = 0; position < StreamTableCount(section); ++position)
            distinct.insert(FindStreamEntry(MakeChannelId(section, position)));
        slotCount += StreamTableCount(section);
    }
    EXPECT_EQ(slotCount, 561);
    EXPECT_EQ(distinct.size(), 545u);

    const int pairs[16][4] = {{1, 27, 21, 18}, {1, 38, 21, 21}, {1, 43, 19, 14}, {4, 3, 15, 7},
                              {4, 16, 11, 28}, {4, 17, 4, 19},  {5, 4, 11, 33},  {5, 12, 15, 15},
                              {5, 18, 11, 17}, {6, 2, 13, 13},  {7, 2, 15, 9},   {7, 4, 13, 15},
                              {8, 4, 19, 0},   {9, 17, 14, 10}, {9, 18, 13, 22}, {18, 4, 18, 24}};
    for (const auto& pair : pairs) {
        const StreamEntry* first = FindStreamEntry(MakeChannelId(pair[0], pair[1]));
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(first, FindStreamEntry(MakeChannelId(pair[2], pair[3])))
            << pair[0] << "/" << pair[1] << " and " << pair[2] << "/" << pair[3];
    }
}

TEST(StreamTable, IdsOutsideTheTableGiveNoAddress)
{
    const int lastSection = kSectionCount;
    const ChannelId outside[] = {
        0,                                                         // no channel
        MakeChannelId(0, 1),                                       // section 0
        MakeChannelId(kSectionCount + 1, 0),                       // section 23
        MakeChannelId(0xFFFF, 0),                                  // far beyond the sections
        MakeChannelId(1, StreamTableCount(1)),                     // index = count
        MakeChannelId(lastSection, StreamTableCount(lastSection)), // last section, index = count
        0xFFFF0001u,                                               // largest index
    };
    for (ChannelId id : outside) {
        SCOPED_TRACE(id);
        EXPECT_EQ(FindStreamEntry(id), nullptr);
        EXPECT_FALSE(ResolveStreamAddress(id).has_value());
    }
    EXPECT_EQ(StreamTableCount(0), 0);
    EXPECT_EQ(StreamTableCount(kSectionCount + 1), 0);
    EXPECT_EQ(StreamTableCount(-1), 0);
}

TEST(StreamEntryDecryption, TrimsTrailingWhiteSpaceAndKeepsLeading)
{
    const struct
    {
        QByteArray text;
        QString address;
    } cases[] = {
        {"x", "x"},
        {"x   ", "x"},
        {"  x", "  x"},
        {"x \t\r\n\v\f", "x"},
        {"x\xe3\x80\x80", "x"},                    // ideographic space counts as white space
        {"caf\xc3\xa9", QStringLiteral(u"caf\u00e9")}, // UTF-8 becomes UTF-16
        {"   ", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QByteArray ciphertext = Encrypted(Padded(c.text));
        const std::optional<QString> address = DecryptStreamEntry(EntryFor(ciphertext));
        ASSERT_TRUE(address.has_value());
        EXPECT_EQ(*address, c.address);
    }

    // Anything after the first zero byte is padding, even visible text.
    QByteArray filled = "rtsp://a";
    filled.append('\0').append("junk!!!");
    EXPECT_EQ(DecryptStreamEntry(EntryFor(Encrypted(filled))), QString("rtsp://a"));
}

TEST(StreamEntryDecryption, RejectsEntriesWithoutAnAddressInside)
{
    // No zero byte at all.
    EXPECT_FALSE(DecryptStreamEntry(EntryFor(Encrypted(QByteArray(16, 'a')))).has_value());
    // The zero byte lies in a trailing partial block, which is never decrypted.
    QByteArray partial = Encrypted(QByteArray(8, 'a'));
    partial.append(QByteArray(3, '\0'));
    EXPECT_FALSE(DecryptStreamEntry(EntryFor(partial)).has_value());
    // Empty entry.
    EXPECT_FALSE(DecryptStreamEntry(StreamEntry{0, nullptr}).has_value());
    // Longer than the work buffer: never read.
    const unsigned char byte = 0;
    EXPECT_FALSE(DecryptStreamEntry(StreamEntry{64 * 1024 + 8, &byte}).has_value());
}

TEST(StreamEntryDecryption, AcceptsAtMost259Utf16Units)
{
    const QByteArray fits = QByteArray("http://") + QByteArray(252, 'a');
    const std::optional<QString> longest = DecryptStreamEntry(EntryFor(Encrypted(Padded(fits))));
    ASSERT_TRUE(longest.has_value());
    EXPECT_EQ(longest->size(), 259);

    EXPECT_FALSE(DecryptStreamEntry(EntryFor(Encrypted(Padded(fits + "a")))).has_value());
    // 258 units plus one character outside the basic plane is 260 units.
    const QByteArray astral = QByteArray("http://") + QByteArray(251, 'a') + "\xf0\x9f\x93\xba";
    EXPECT_FALSE(DecryptStreamEntry(EntryFor(Encrypted(Padded(astral)))).has_value());
}
