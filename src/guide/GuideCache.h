#pragma once
// The last good copy of every downloaded guide, in $XDG_CACHE_HOME/Korvanta/guides, and
// what is known of each guide's copy: its ETag and Last-Modified for asking again, when it
// was fetched, and what it was last imported with.

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct GuideCacheInfo {
    QString etag, lastModified;
    QDateTime fetched;     // UTC; invalid = never
    QByteArray importedFor; // the matching and language the store's copy was made for
    bool operator==(const GuideCacheInfo&) const = default;
};

QString GuideCachePath(const QString& source);
GuideCacheInfo ReadGuideCacheInfo(const QString& source);
// Atomically; false, keeping the old one, on failure.
bool WriteGuideCacheInfo(const QString& source, const GuideCacheInfo& info);
void RemoveGuideCache(const QString& source);
