#pragma once
// Where the viewer's playlist addresses (which may carry access tokens) or their lists are
// kept, other users of the machine may not look: folders 0700, files 0600, set explicitly
// so that no umask widens them.

#include <QFileDevice>
#include <QString>

constexpr QFileDevice::Permissions kPrivateFileMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

// A folder of this user, not a link to one, that nobody else may enter.
bool IsPrivateFolder(const QString& path);

// Makes the folder (and any missing parent) private to this user; an existing one of ours
// is narrowed. False when it is a link, another user's, or cannot be made private.
bool MakePrivateFolder(const QString& path);
