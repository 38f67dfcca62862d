#pragma once
// Opens an address with the user's program for it (mail program, web browser). The
// result is ignored: without such a program nothing visible happens. Tests replace the
// opener so that nothing real opens.

#include <QUrl>

#include <functional>

using UrlOpener = std::function<void(const QUrl&)>;

// Installs an opener; an empty one restores the desktop's. Returns the previous opener.
UrlOpener SetUrlOpener(UrlOpener opener);

void ShellOpen(const QUrl& url);
