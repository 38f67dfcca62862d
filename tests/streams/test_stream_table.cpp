#include "EcbEncrypt.h"
#include "StreamTable.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <gtest/gtest.h>

#include <set>

namespace {

std::optional<QString> Decrypted(const QByteArray& plaintext)
{
    const QByteArray ciphertext = EncryptEcb(KeyedCipher("w4kp9z"), plaintext);
    return DecryptStreamEntry({static_cast<std::uint32_t>(ciphertext.size()),
                               reinterpret_cast<const unsigned char*>(ciphertext.constData())});
}

// The text, a zero byte and zero padding to whole blocks, as the table stores addresses.
QByteArray Padded(QByteArray text)
{
    text.append('\0');
    return text.append(QByteArray(-text.size() & 7, '\0'));
}

} // namespace

// Every slot of the list the table was generated from, compared with the table; slots
// share an entry exactly when their addresses agree.
TEST(StreamTable, EverySlotResolvesToExactlyItsListedAddress)
{
    QFile list(KORVANTA_STREAM_LIST);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    QList<QByteArray> rows = list.readAll().split('\n');
    const qsizetype urlColumn = rows.takeFirst().trimmed().split('\t').indexOf("url");
    int perSection[kSectionCount + 1] = {};
    QHash<QString, const StreamEntry*> entryOf;
    std::set<const StreamEntry*> distinct;
    for (const QByteArray& row : rows) {
        const QList<QByteArray> fields = row.split('\t');
        if (fields.size() <= urlColumn)
            continue;
        const QString url = QString::fromUtf8(fields[urlColumn]);
        SCOPED_TRACE(url.toStdString());
        const ChannelId id = MakeChannelId(fields[0].toInt(), fields[1].toInt());
        EXPECT_EQ(ResolveStreamAddress(id), url);

        const StreamEntry* entry = FindStreamEntry(id);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->length % 8, 0u);
        if (entryOf.contains(url)) {
            EXPECT_EQ(entryOf[url], entry);
        } else {
            EXPECT_TRUE(distinct.insert(entry).second);
        }
        entryOf.insert(url, entry);
        ++perSection[SectionNumber(id)];
    }
    for (int section = 1; section <= kSectionCount; ++section)
        EXPECT_EQ(StreamTableCount(section), perSection[section]) << "section " << section;
}

TEST(StreamTable, ShippedListHasItsCountsAndSharedPairs)
{
    if (QFileInfo(KORVANTA_STREAM_LIST).canonicalFilePath()
        != QFileInfo(KORVANTA_SOURCE_DIR "/data/channels.tsv").canonicalFilePath())
        GTEST_SKIP() << "built from another channel list";
    const int counts[kSectionCount] = {51, 8, 8, 31, 21, 14, 16, 6, 26, 7, 34,
                                       14, 57, 26, 21, 34, 42, 38, 23, 18, 47, 19};
    std::set<const StreamEntry*> distinct;
    for (int section = 1; section <= kSectionCount; ++section) {
        EXPECT_EQ(StreamTableCount(section), counts[section - 1]) << "section " << section;
        for (int position = 0; position < StreamTableCount(section); ++position)
            distinct.insert(FindStreamEntry(MakeChannelId(section, position)));
    }
    EXPECT_EQ(distinct.size(), 545u);

    const int pairs[16][4] = {{1, 27, 21, 18}, {1, 38, 21, 21}, {1, 43, 19, 14}, {4, 3, 15, 7},
                              {4, 16, 11, 28}, {4, 17, 4, 19},  {5, 4, 11, 33},  {5, 12, 15, 15},
                              {5, 18, 11, 17}, {6, 2, 13, 13},  {7, 2, 15, 9},   {7, 4, 13, 15},
                              {8, 4, 19, 0},   {9, 17, 14, 10}, {9, 18, 13, 22}, {18, 4, 18, 24}};
    for (const auto& p : pairs) {
        EXPECT_NE(FindStreamEntry(MakeChannelId(p[0], p[1])), nullptr);
        EXPECT_EQ(FindStreamEntry(MakeChannelId(p[0], p[1])), FindStreamEntry(MakeChannelId(p[2], p[3])))
            << p[0] << "/" << p[1] << " and " << p[2] << "/" << p[3];
    }
}

TEST(StreamTable, IdsOutsideTheTableGiveNoAddress)
{
    const ChannelId outside[] = {0, MakeChannelId(0, 1), MakeChannelId(kSectionCount + 1, 0),
                                 MakeChannelId(0xFFFF, 0), MakeChannelId(1, StreamTableCount(1)),
                                 MakeChannelId(kSectionCount, StreamTableCount(kSectionCount)),
                                 0xFFFF0001u};
    for (ChannelId id : outside) {
        EXPECT_EQ(FindStreamEntry(id), nullptr) << id;
        EXPECT_FALSE(ResolveStreamAddress(id).has_value()) << id;
    }
    EXPECT_EQ(StreamTableCount(0), 0);
    EXPECT_EQ(StreamTableCount(kSectionCount + 1), 0);
}

TEST(StreamEntryDecryption, TrimsTrailingWhiteSpaceAndKeepsLeading)
{
    EXPECT_EQ(Decrypted(Padded("x")), "x");
    EXPECT_EQ(Decrypted(Padded("x   ")), "x");
    EXPECT_EQ(Decrypted(Padded("  x")), "  x");
    EXPECT_EQ(Decrypted(Padded("x \t\r\n\v\f\xe3\x80\x80")), "x"); // ideographic space too
    EXPECT_EQ(Decrypted(Padded("caf\xc3\xa9")), QStringLiteral(u"caf\u00e9"));
    // Anything after the first zero byte is filler, even visible text.
    EXPECT_EQ(Decrypted(QByteArray("rtsp://a\0junk!!!", 16)), "rtsp://a");
}

TEST(StreamEntryDecryption, RejectsEntriesWithoutAnAddressInside)
{
    EXPECT_FALSE(Decrypted(QByteArray(16, 'a')).has_value());
    // The zero byte lies in a trailing partial block, which is never decrypted.
    EXPECT_FALSE(Decrypted(QByteArray(8, 'a') + QByteArray(3, '\0')).has_value());
    EXPECT_FALSE(DecryptStreamEntry({0, nullptr}).has_value());
    const unsigned char byte = 0; // longer than the work buffer: never read
    EXPECT_FALSE(DecryptStreamEntry({64 * 1024 + 8, &byte}).has_value());

    const QByteArray longest = QByteArray("http://") + QByteArray(252, 'a');
    EXPECT_EQ(Decrypted(Padded(longest)), QString::fromLatin1(longest));
    EXPECT_FALSE(Decrypted(Padded(longest + "a")).has_value());
    // 258 units and one character outside the basic plane, which takes two.
    EXPECT_FALSE(Decrypted(Padded(longest.chopped(1) + "\xf0\x9f\x93\xba")).has_value());
}
