#include "SourceNames.h"

#include "StreamRules.h"

#include <QFileInfo>
#include <QUrl>

bool IsWebAddress(const QString& source)
{
    const QString scheme = QUrl(source).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

// Local paths have no scheme; a one-letter one is a drive.
bool IsOtherScheme(const QString& source)
{
    const QString scheme = QUrl(source).scheme();
    return scheme.size() > 1 && scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) != 0 && !IsWebAddress(source);
}

QString NormalSource(const QString& source)
{
    const QString trimmed = source.trimmed();
    if (IsWebAddress(trimmed))
        return WithLowerCaseScheme(trimmed); // one source, however its scheme was typed
    const QUrl url(trimmed);
    return QFileInfo(url.isLocalFile() ? url.toLocalFile() : trimmed).absoluteFilePath();
}

QString NameForSource(const QString& source)
{
    const QString fileName = IsWebAddress(source) ? QUrl(source).fileName() : QFileInfo(source).fileName();
    const QString name = QFileInfo(fileName).completeBaseName();
    return !name.isEmpty() ? name : !fileName.isEmpty() ? fileName : QUrl(source).host();
}
