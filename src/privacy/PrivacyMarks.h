#pragma once
// What the viewer hid and locked among their playlists, kept by the names the viewer sees,
// so that a playlist read again keeps them: a whole playlist, one of its groups, or one
// channel of a group (or of none).

#include <QByteArray>
#include <QString>

#include <vector>

struct PrivacyPlace
{
    QString playlist;
    QString group;   // empty with no channel: the playlist's node itself
    QString channel; // empty: the whole group (or playlist)

    bool IsPlaylist() const { return group.isEmpty() && channel.isEmpty(); }
    bool operator==(const PrivacyPlace&) const = default;
};

// The PIN that opens the locks, only as a salted key derived from it.
struct PinDigest
{
    QByteArray salt;
    QByteArray key;
    int rounds = 0;

    bool IsSet() const { return !salt.isEmpty() && !key.isEmpty() && rounds > 0; }
    bool operator==(const PinDigest&) const = default;
};

struct PrivacyMarks
{
    std::vector<PrivacyPlace> hidden;
    std::vector<PrivacyPlace> locked;
    PinDigest pin;

    bool operator==(const PrivacyMarks&) const = default;
};

// What the viewer asks of a place from its menu.
enum class PrivacyChange { Hide, Unhide, Lock, Unlock };
