#pragma once
// The ordered text lists of a language pack. Every consumer takes its texts by group and
// index through Text(), which raises the invalid-argument error for a missing entry.

#include <QString>
#include <QStringList>

#include <array>

enum LanguageGroup {
    MainMenu = 0,
    ContexMenu = 1,
    ChannelsDialog = 2,
    LanguagesDialog = 3,
    AboutDialog = 4,
    DonateDialog = 5,
    Groups = 6,
    Countries = 7,
    Status = 8,
    // Groups added after the first packs shipped: a pack may lack them, and then their
    // built-in English texts stand in (BuiltinTexts.h).
    Playlists = 9,
    StatusReasons = 10,
    Timeshift = 11,
    Access = 12,
    Locale = 13,
    Guidance = 14,
    Guide = 15,
    Catchup = 16,
    Files = 17,
    Readers = 18,
    Films = 19,
    Preferences = 20,
    Schedule = 21,
    Accounts = 22,
    Recordings = 23,
    GuideOrder = 24,
    Privacy = 25,
};

constexpr int kCoreGroupCount = 9; // the groups every pack must carry
constexpr int kLanguageGroupCount = 26;

struct LanguageStrings
{
    std::array<QStringList, kLanguageGroupCount> lists;

    QStringList& operator[](LanguageGroup group) { return lists[group]; }
    const QStringList& operator[](LanguageGroup group) const { return lists[group]; }

    // Entry index of the group; the invalid-argument error when the group is too short.
    const QString& Text(LanguageGroup group, qsizetype index) const;

    void Clear();
};
