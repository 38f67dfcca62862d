#pragma once
// Decides from the start of an HTTP answer whether it is something a player can open.

#include <QByteArray>
#include <QUrl>

class StreamContent
{
public:
    enum class Kind { Undecided, MasterPlaylist, MediaPlaylist, Media, NotAStream };

    // Media is recognised from this much of the body; playlists are read whole, up to
    // kPlaylistLimit.
    static constexpr qsizetype kSniffBytes = 1024;
    static constexpr qsizetype kPlaylistLimit = 1024 * 1024;

    // complete: the body has ended (or hit kPlaylistLimit), so no more bytes will come.
    static Kind Classify(const QByteArray& contentType, const QByteArray& body, bool complete);

    // The first variant of a master playlist, resolved against the playlist's own address;
    // empty when the playlist names none.
    static QUrl FirstVariant(const QByteArray& playlist, const QUrl& playlistUrl);

private:
    static bool HasMediaSignature(const QByteArray& body);
};
