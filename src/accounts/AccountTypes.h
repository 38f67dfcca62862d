#pragma once
// What a provider's panel tells of an account: the login it was given, the account's state
// and its catalogue of live channels, films and series, read from the panel's answers.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

struct AccountLogin
{
    QString server;   // scheme, host and port, no path: http://host:8080
    QString user;
    QString password; // never written anywhere but the secret service

    bool IsComplete() const { return !server.isEmpty() && !user.isEmpty() && !password.isEmpty(); }
    // Names the account in files and in the tree without its password.
    QString Key() const { return server + QLatin1Char('|') + user; }
    bool operator==(const AccountLogin&) const = default;
};

struct AccountState
{
    QString status;        // as the panel says it: Active, Expired, Disabled, Banned
    QDateTime expiry;      // invalid: never expires
    int activeConnections = 0;
    int maxConnections = 0;
    QString zone;          // the panel's clock: a zone id, or UTC+hh:mm; empty when not told

    bool operator==(const AccountState&) const = default;
};

struct AccountCategory
{
    QString id;
    QString name;
};

struct LiveStream
{
    QString id;
    QString name;
    QString icon;
    QString number;       // the panel's num
    QString guideId;      // epg_channel_id
    QString categoryId;
    int archiveDays = 0;  // tv_archive_duration, where tv_archive is set
};

struct FilmEntry
{
    QString id;
    QString name;
    QString icon;
    QString categoryId;
    QString extension;    // container_extension, without the dot
    QString rating;
};

struct SeriesEntry
{
    QString id;
    QString name;
    QString cover;
    QString categoryId;
    QString plot;
};

struct SeriesEpisode
{
    QString id;
    QString title;
    QString extension;
    int season = 0;
    int episode = 0;
};

// What get_vod_info and get_series_info add for the description box.
struct FilmDetails
{
    QString poster, year, rating, genre, plot, cast;
    int minutes = 0;
};

// A programme of the panel's short guide (get_short_epg).
struct ShortProgramme
{
    QString title;
    qint64 start = 0; // seconds since 1970, UTC
    qint64 stop = 0;  // 0: the panel gave no end

    bool operator==(const ShortProgramme&) const = default;
};

struct AccountCatalogue
{
    std::vector<AccountCategory> liveCategories, filmCategories, seriesCategories;
    std::vector<LiveStream> live;
    std::vector<FilmEntry> films;
    std::vector<SeriesEntry> series;
};

// An account as Accounts.xml keeps it: no password, no catalogue.
struct AccountRecord
{
    QString name;          // the tree node's text; the viewer can rename it
    QString server;
    QString user;
    QDateTime lastRefresh; // UTC; invalid = the catalogue never came
    QString lastError;     // of the last refresh; empty when it went well
    QString zone;          // the panel's clock, as its login last told it (its archive speaks it)

    QString Key() const { return server + QLatin1Char('|') + user; }
};
