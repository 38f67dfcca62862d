#include "RecordingFile.h"

#include "RecordingTail.h"

#include <QFile>

namespace {

constexpr qint64 kCopyBlockBytes = 1024 * 1024;

void AppendAndRemove(const QString& part, const QString& path)
{
    QFile from(part);
    QFile to(path);
    if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly | QIODevice::Append))
        return; // the part stays beside the recording rather than being lost
    for (QByteArray block = from.read(kCopyBlockBytes); !block.isEmpty(); block = from.read(kCopyBlockBytes)) {
        if (to.write(block) != block.size())
            return;
    }
    if (to.flush())
        from.remove();
}

} // namespace

RecordingFile::RecordingFile(const QString& path) : path(path)
{
    appender.setMaxThreadCount(1); // parts go on in the order they were read
}

RecordingFile::~RecordingFile()
{
    Finish();
}

QString RecordingFile::NextStretch()
{
    StretchEnded();
    writing = true;
    ++stretches;
    return stretches == 1 ? path : PartPath(stretches);
}

void RecordingFile::StretchEnded(double unseenSeconds)
{
    if (!writing)
        return;
    writing = false;
    const bool part = stretches > 1;
    if (!part && unseenSeconds <= 0)
        return;
    appender.start([stretch = part ? PartPath(stretches) : path, path = path, part, unseenSeconds] {
        if (unseenSeconds > 0)
            RecordingTail::Cut(stretch, unseenSeconds);
        if (part)
            AppendAndRemove(stretch, path);
    });
}

void RecordingFile::Finish()
{
    StretchEnded();
    appender.waitForDone();
}

QString RecordingFile::PartPath(int stretch) const
{
    return path + QStringLiteral(".part%1").arg(stretch);
}
