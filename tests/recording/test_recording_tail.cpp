// Cutting the seconds a recording holds past the stop, on an MPEG-TS file made with ffmpeg;
// a file that is no MPEG-TS stays as it was.

#include "RecordingTail.h"
#include "TempDir.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

bool RunTool(const QString& program, const QStringList& arguments, QByteArray* output = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    const bool ok = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    if (output != nullptr)
        *output = process.readAllStandardOutput();
    return ok;
}

double Duration(const QString& path)
{
    QByteArray json;
    RunTool(QStringLiteral("ffprobe"), {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                                    QStringLiteral("format=duration"), QStringLiteral("-of"), QStringLiteral("json"), path},
        &json);
    return QJsonDocument::fromJson(json).object().value(QStringLiteral("format")).toObject()
        .value(QStringLiteral("duration")).toString().toDouble();
}

} // namespace

TEST(RecordingTail, CutsTheLastSecondsAtAPicture)
{
    TempDir temp;
    const QString path = temp.FilePath(QStringLiteral("ten.ts"));
    ASSERT_TRUE(RunTool(QStringLiteral("ffmpeg"),
                    {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                     QStringLiteral("-i"), QStringLiteral("testsrc=size=160x120:rate=25"), QStringLiteral("-f"),
                     QStringLiteral("lavfi"), QStringLiteral("-i"), QStringLiteral("sine"), QStringLiteral("-t"),
                     QStringLiteral("10"), QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-g"),
                     QStringLiteral("25"), QStringLiteral("-c:a"), QStringLiteral("aac"), path}));
    ASSERT_NEAR(Duration(path), 10, 0.2);

    EXPECT_TRUE(RecordingTail::Cut(path, 4));
    EXPECT_NEAR(Duration(path), 6, 0.2);

    EXPECT_TRUE(RecordingTail::Cut(path, 60)); // more than it holds: the first picture stays
    EXPECT_GT(QFile(path).size(), 0);
    EXPECT_LT(Duration(path), 0.5);
}

TEST(RecordingTail, LeavesAFileOfOtherBytesAsItWas)
{
    TempDir temp;
    const QByteArray bytes = QByteArray("Not a transport stream\n").repeated(1000);
    temp.WriteFile(QStringLiteral("notes.ts"), bytes);
    EXPECT_FALSE(RecordingTail::Cut(temp.FilePath(QStringLiteral("notes.ts")), 1));
    EXPECT_EQ(temp.ReadFile(QStringLiteral("notes.ts")), bytes);
    EXPECT_FALSE(RecordingTail::Cut(temp.FilePath(QStringLiteral("missing.ts")), 1));
}
