#pragma once
// What the viewer hid and locked among their playlists, kept by the names the viewer sees,
// so that a playlist read again keeps them: a whole playlist, one of its groups, or one
// channel of a group (or of none). The built-in list's places are kept by section and
// position instead, which no language pack changes.

#include <QByteArray>
#include <QString>

#include <vector>

struct PrivacyPlace
{
    // The built-in countries' node as a section of its own.
    static constexpr int kAllCountries = -1;

    QString playlist;
    QString group;   // empty with no channel: the playlist's node itself
    QString channel; // empty: the whole group (or playlist)
    int section = 0;    // a built-in genre or country (1..22) or kAllCountries; 0: none
    int position = -1;  // a built-in channel of that section; -1: the whole section

    static PrivacyPlace Builtin(int section, int position = -1) { return {{}, {}, {}, section, position}; }
    bool IsBuiltin() const { return section != 0; }
    bool IsNone() const { return playlist.isEmpty() && !IsBuiltin(); }
    bool IsPlaylist() const { return !IsBuiltin() && group.isEmpty() && channel.isEmpty(); }
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
