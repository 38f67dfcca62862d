#include "ShellOpen.h"

#include <QDesktopServices>

#include <utility>

namespace {
UrlOpener& opener()
{
    static UrlOpener instance;
    return instance;
}
} // namespace

UrlOpener SetUrlOpener(UrlOpener newOpener)
{
    return std::exchange(opener(), std::move(newOpener));
}

void ShellOpen(const QUrl& url)
{
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}
