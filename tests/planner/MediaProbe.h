#pragma once
// What ffprobe and ffmpeg make of a recorded file: its streams and length, and whether it
// decodes cleanly.

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

constexpr int kProbeWaitMs = 60000;

inline QJsonObject Probed(const QString& path)
{
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                            QStringLiteral("format=duration:stream=codec_type"), QStringLiteral("-of"),
                                            QStringLiteral("json"), path});
    probe.waitForFinished(kProbeWaitMs);
    return QJsonDocument::fromJson(probe.readAllStandardOutput()).object();
}

inline double Duration(const QString& path)
{
    return Probed(path).value(QStringLiteral("format")).toObject().value(QStringLiteral("duration")).toString().toDouble();
}

// What decoding the whole file complains of; empty when it decodes cleanly.
inline QString DecodeErrors(const QString& path)
{
    QProcess decode;
    decode.start(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-i"), path,
                                            QStringLiteral("-f"), QStringLiteral("null"), QStringLiteral("-")});
    if (!decode.waitForFinished(kProbeWaitMs))
        return QStringLiteral("ffmpeg did not end");
    const QString errors = QString::fromUtf8(decode.readAllStandardError());
    return decode.exitCode() == 0 ? errors : QStringLiteral("exit %1: %2").arg(decode.exitCode()).arg(errors);
}
