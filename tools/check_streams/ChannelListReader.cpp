#include "ChannelListReader.h"

#include "ChannelCatalogue.h"
#include "M3uParser.h"
#include "StreamTable.h"

#include <QFile>
#include <QSet>

bool ChannelListReader::Read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        error = QStringLiteral("%1 is too large to be a channel list").arg(path);
        return false;
    }
    if (!Parse(bytes)) {
        error = path + QStringLiteral(": ") + error;
        return false;
    }
    return true;
}

void ChannelListReader::ReadBuiltIn()
{
    channelSlots.clear();
    for (int section = 1; section <= kSectionCount; ++section) {
        for (int position = 0; position < StreamTableCount(section); ++position) {
            const std::optional<QString> address = ResolveStreamAddress(MakeChannelId(section, position));
            if (address)
                channelSlots.append({section, position, QString(), *address});
        }
    }
}

bool ChannelListReader::ReadM3u(const QString& location, const QByteArray& bytes)
{
    channelSlots.clear();
    const QUrl url = QUrl::fromUserInput(location, QString(), QUrl::AssumeLocalFile);
    const M3uResult result = M3uParser(url).Parse(bytes);
    if (result.problem != M3uProblem::None) {
        error = QStringLiteral("%1 is not a playlist with channels").arg(location);
        return false;
    }
    int position = 0;
    for (const PlaylistChannel& channel : result.channels)
        channelSlots.append({kPlaylistSection, position++, channel.name, channel.address});
    return true;
}

bool ChannelListReader::Parse(const QByteArray& bytes)
{
    channelSlots.clear();
    error.clear();
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QStringList lines = text.split(QLatin1Char('\n'));
    int lineNumber = 0;
    for (QString line : lines) {
        ++lineNumber;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        const bool ok = columns.count == 0 ? ParseHeader(line) : ParseRow(line);
        if (!ok)
            return Fail(lineNumber, error);
    }
    if (columns.count == 0)
        return Fail(1, QStringLiteral("no header line"));
    return true;
}

bool ChannelListReader::ParseHeader(const QString& line)
{
    columns = {};
    const QStringList names = line.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString name = names[i].trimmed();
        if (name == QLatin1String("section"))
            columns.section = i;
        else if (name == QLatin1String("position"))
            columns.position = i;
        else if (name == QLatin1String("name"))
            columns.name = i;
        else if (name == QLatin1String("url"))
            columns.url = i;
    }
    if (columns.section < 0 || columns.position < 0 || columns.url < 0) {
        error = QStringLiteral("the header must name the columns section, position and url");
        return false;
    }
    columns.count = names.size();
    return true;
}

bool ChannelListReader::ParseRow(const QString& line)
{
    const QStringList fields = line.split(QLatin1Char('\t'));
    if (fields.size() < columns.count) {
        error = QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(columns.count);
        return false;
    }
    ChannelSlot slot;
    bool sectionOk = false;
    bool positionOk = false;
    slot.section = fields[columns.section].trimmed().toInt(&sectionOk);
    slot.position = fields[columns.position].trimmed().toInt(&positionOk);
    if (!sectionOk || slot.section < 1 || slot.section > kSectionCount) {
        error = QStringLiteral("section must be a number from 1 to %1").arg(kSectionCount);
        return false;
    }
    if (!positionOk || slot.position < 0) {
        error = QStringLiteral("position must be a number from 0 up");
        return false;
    }
    if (columns.name >= 0)
        slot.name = fields[columns.name].trimmed();
    slot.url = fields[columns.url].trimmed();
    if (slot.url.isEmpty()) {
        error = QStringLiteral("the url is empty");
        return false;
    }
    channelSlots.append(slot);
    return true;
}

bool ChannelListReader::Fail(int lineNumber, const QString& message)
{
    error = QStringLiteral("line %1: %2").arg(lineNumber).arg(message);
    channelSlots.clear();
    return false;
}

QStringList ChannelListReader::DistinctAddresses(const QList<ChannelSlot>& channelSlots)
{
    QStringList addresses;
    QSet<QString> seen;
    for (const ChannelSlot& slot : channelSlots) {
        if (!seen.contains(slot.url)) {
            seen.insert(slot.url);
            addresses << slot.url;
        }
    }
    return addresses;
}
