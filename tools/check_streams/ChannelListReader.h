#pragma once
// Reads the tab-separated channel list: a header line naming the columns, then one row
// per slot. Only section, position, name and url are used.

#include <QList>
#include <QString>
#include <QStringList>

// The section the entries of an M3U playlist are reported in.
constexpr int kPlaylistSection = 0;

struct ChannelSlot
{
    int section = 0;  // 1..22, or kPlaylistSection
    int position = 0; // 0-based within the section
    QString name;
    QString url;
};

class ChannelListReader
{
public:
    // A wrong file (a video, /dev/zero) must not be read into memory whole.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

    bool Read(const QString& path);
    bool Parse(const QByteArray& bytes);
    // The list compiled into the program: every slot of the encrypted stream table.
    void ReadBuiltIn();
    // An M3U playlist's entries, as slots of section kPlaylistSection.
    bool ReadM3u(const QString& location, const QByteArray& bytes);

    const QList<ChannelSlot>& Slots() const { return channelSlots; }
    // Each address once, in list order: slots that share an address share its probe.
    static QStringList DistinctAddresses(const QList<ChannelSlot>& channelSlots);
    // Why Read or Parse failed, naming the line.
    const QString& Error() const { return error; }

private:
    struct Columns
    {
        qsizetype section = -1;
        qsizetype position = -1;
        qsizetype name = -1;
        qsizetype url = -1;
        qsizetype count = 0;
    };

    bool ParseHeader(const QString& line);
    bool ParseRow(const QString& line);
    bool Fail(int lineNumber, const QString& message);

    Columns columns;
    QList<ChannelSlot> channelSlots;
    QString error;
};
