#include "CommandLineStart.h"

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace {
constexpr int kWaitMs = 30000;

// Seconds stamped on the first line of the log containing text; -1 when none does.
double LogTime(const QByteArray& log, const char* text)
{
    for (const QByteArray& line : log.split('\n')) {
        if (line.contains(text))
            return line.mid(1, line.indexOf(']') - 1).trimmed().toDouble();
    }
    return -1;
}
} // namespace

double CommandLineStartMs(const QString& url, const QStringList& options)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("mpv.log"));
    QProcess mpv;
    mpv.start(QStringLiteral("mpv"), QStringList{QStringLiteral("--no-config"),
                                                 QStringLiteral("--frames=1"),
                                                 QStringLiteral("--log-file=") + log}
                                         << options << url);
    mpv.waitForFinished(kWaitMs);
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = file.readAll();
    const double opened = LogTime(text, "] Opening ");
    const double shown = LogTime(text, "playback restart complete");
    return opened < 0 || shown < 0 ? -1 : (shown - opened) * 1000;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
