#pragma once
// The panel's list answers of an account, kept so that a start without network shows the
// same tree: $XDG_CACHE_HOME/Korvanta/Accounts/<hash of server and user>/<list>.json, the
// folder 0700, the files 0600. The login's own answer (which repeats the password) is never
// kept. Called on a worker.

#include <QByteArray>
#include <QString>

#include <optional>

namespace AccountCache {
QString FolderOf(const QString& accountKey);
bool Write(const QString& accountKey, const QString& list, const QByteArray& answer);
std::optional<QByteArray> Read(const QString& accountKey, const QString& list);
void Remove(const QString& accountKey);
} // namespace AccountCache
