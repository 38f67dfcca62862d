#include "StreamContent.h"

#include <QByteArrayView>

namespace {

const QByteArray kPlaylistTag = "#EXTM3U";

// Servers put a byte-order mark or blank lines before the tag now and then.
QByteArrayView SkipLeadingSpace(const QByteArray& body)
{
    QByteArrayView text(body);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    while (!text.isEmpty() && QChar::isSpace(static_cast<uchar>(text.front())))
        text = text.sliced(1);
    return text;
}

// A playlist type on something that is not a playlist is an error page, not media.
bool IsPlayableType(const QByteArray& type)
{
    return (type.startsWith("video/") || type.startsWith("audio/")) && !type.contains("mpegurl");
}

} // namespace

StreamContent::Kind StreamContent::Classify(const QByteArray& contentType, const QByteArray& body,
                                            bool complete)
{
    const QByteArray type = contentType.split(';').first().trimmed().toLower();
    const QByteArrayView text = SkipLeadingSpace(body);

    if (text.startsWith(kPlaylistTag)) {
        if (!complete)
            return Kind::Undecided;
        if (text.contains("#EXT-X-STREAM-INF"))
            return Kind::MasterPlaylist;
        if (text.contains("#EXTINF") || text.contains("#EXT-X-TARGETDURATION"))
            return Kind::MediaPlaylist;
        return Kind::NotAStream;
    }
    if (!complete && body.size() < kSniffBytes)
        return Kind::Undecided;
    if (text.startsWith("<"))
        return text.contains("<MPD") ? Kind::Media : Kind::NotAStream;
    if (HasMediaSignature(body) || (IsPlayableType(type) && !body.isEmpty()))
        return Kind::Media;
    return Kind::NotAStream;
}

QUrl StreamContent::FirstVariant(const QByteArray& playlist, const QUrl& playlistUrl)
{
    bool variantFollows = false;
    for (const QByteArray& rawLine : playlist.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith("#EXT-X-STREAM-INF")) {
            variantFollows = true;
        } else if (variantFollows && !line.isEmpty() && !line.startsWith('#')) {
            const QUrl variant = playlistUrl.resolved(QUrl(QString::fromUtf8(line)));
            return variant.isValid() ? variant : QUrl();
        }
    }
    return {};
}

bool StreamContent::HasMediaSignature(const QByteArray& body)
{
    const auto byte = [&body](qsizetype i) { return static_cast<uchar>(body.at(i)); };
    if (body.isEmpty())
        return false;
    // MPEG transport stream: a sync byte every 188 bytes.
    if (byte(0) == 0x47 && (body.size() <= 188 || byte(188) == 0x47))
        return true;
    // MPEG audio or ADTS AAC frame sync.
    if (body.size() >= 2 && byte(0) == 0xFF && (byte(1) & 0xE0) == 0xE0)
        return true;
    if (body.size() >= 8) {
        const QByteArray box = body.mid(4, 4);
        if (box == "ftyp" || box == "styp" || box == "moof" || box == "sidx")
            return true;
    }
    for (const char* magic : {"ID3", "FLV", "OggS", "fLaC", "\x1A\x45\xDF\xA3"}) {
        if (body.startsWith(magic))
            return true;
    }
    return false;
}
