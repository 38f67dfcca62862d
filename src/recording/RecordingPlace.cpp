#include "RecordingPlace.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kProgramFolder = QStringLiteral("Korvanta");
const QString kNameless = QStringLiteral("Korvanta");
const QString kExtension = QStringLiteral(".ts");
const QString kStartFormat = QStringLiteral("yyyy-MM-dd HH-mm-ss");
const QString kProgrammeStartFormat = QStringLiteral("yyyy-MM-dd HH-mm");
constexpr QStringView kRefused = u"/\\:*?\"<>|";
// File names are limited to 255 bytes; the date, a number and the extension need 30.
constexpr qsizetype kMaxNameBytes = 200;

QString WithinBytes(QString name, qsizetype maxBytes)
{
    while (name.toUtf8().size() > maxBytes)
        name.chop(name.size() > 1 && name.back().isLowSurrogate() ? 2 : 1);
    return name;
}

} // namespace

RecordingPlace::RecordingPlace(const QString& folder, FreeSpace freeSpace)
    : folder(folder), freeSpace(std::move(freeSpace))
{
}

QString RecordingPlace::DefaultFolder()
{
    QString videos = qEnvironmentVariable("XDG_VIDEOS_DIR");
    if (videos.isEmpty() || !QDir::isAbsolutePath(videos))
        videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return QDir(videos).filePath(kProgramFolder);
}

QString RecordingPlace::SafeName(const QString& name)
{
    QString safe;
    for (QChar c : name) {
        const bool refused = c.category() == QChar::Other_Control || kRefused.contains(c);
        safe += refused ? QLatin1Char('_') : c;
    }
    safe = safe.simplified();
    while (safe.startsWith(QLatin1Char('.')))
        safe.remove(0, 1);
    safe = WithinBytes(safe, kMaxNameBytes);
    while (safe.endsWith(QLatin1Char('.')) || safe.endsWith(QLatin1Char(' ')))
        safe.chop(1);
    return safe.isEmpty() ? kNameless : safe;
}

RecordingTarget RecordingPlace::NewRecording(const QString& channel, const QDateTime& start) const
{
    return NewFile(SafeName(channel) + QLatin1Char(' ') + start.toString(kStartFormat));
}

RecordingTarget RecordingPlace::NewProgrammeRecording(const QString& title, const QString& channel, const QDateTime& start) const
{
    const QString when = start.toString(kProgrammeStartFormat);
    const qsizetype room = kMaxNameBytes - when.size() - 2;
    const QString named = WithinBytes(title.simplified(), room / 2) + QLatin1Char(' ') + when + QLatin1Char(' ')
                          + WithinBytes(channel.simplified(), room / 2);
    return NewFile(SafeName(named));
}

RecordingTarget RecordingPlace::NewFile(const QString& stem) const
{
    if (!QDir().mkpath(folder))
        return {{}, RecordingRefusal::NoFolder};
    if (!HasRoom())
        return {{}, RecordingRefusal::DiskFull};
    const QDir dir(folder);
    QString path = dir.filePath(stem + kExtension);
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = dir.filePath(QStringLiteral("%1 (%2)%3").arg(stem, QString::number(copy), kExtension));
    return {path, RecordingRefusal::None};
}

bool RecordingPlace::HasRoom() const
{
    return freeSpace(folder) > kDiskReserveBytes;
}
