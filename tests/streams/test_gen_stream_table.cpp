#include "TempDir.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct GeneratorRun
{
    int exitCode;
    QString errors;
    QByteArray output; // the generated source; empty when none was written
};

// Runs the generator on a list given as text and collects what it reports and writes.
GeneratorRun Generate(const QByteArray& list)
{
    TempDir dir;
    dir.WriteFile("list.tsv", list);
    QProcess process;
    process.start(KORVANTA_PYTHON, {KORVANTA_STREAM_TABLE_GENERATOR, dir.FilePath("list.tsv"),
                                    dir.FilePath("table.cpp")});
    process.waitForFinished(60000);
    QFile out(dir.FilePath("table.cpp"));
    QByteArray source;
    if (out.open(QIODevice::ReadOnly))
        source = out.readAll();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError()), source};
}

const QByteArray kHeader = "section\tposition\tname\turl\tcountry\tdescription\n";

QByteArray Row(int section, int position, const QByteArray& url)
{
    return QByteArray::number(section) + '\t' + QByteArray::number(position) + "\tName\t" + url + "\tus\tText.\n";
}

} // namespace

TEST(StreamTableGenerator, WritesTheSameSourceForTheSameList)
{
    // The longest address allowed, and a leading space, which the reader keeps.
    const QByteArray list = kHeader + Row(1, 0, "http://127.0.0.1:8080/a.m3u8")
        + Row(1, 1, "http://" + QByteArray(252, 'b')) + Row(1, 2, " http://127.0.0.1/c")
        + Row(22, 0, "http://127.0.0.1:8080/a.m3u8");
    const GeneratorRun first = Generate(list);
    ASSERT_EQ(first.exitCode, 0) << first.errors.toStdString();
    EXPECT_EQ(first.output, Generate(list).output);
    // The shared address is stored once.
    EXPECT_EQ(first.output.count("const StreamEntry kEntry"), 3);
    EXPECT_TRUE(first.output.contains("{kSection22, 1u}"));
}

TEST(StreamTableGenerator, RejectsBrokenListsNamingEveryBrokenRow)
{
    const struct
    {
        QByteArray row;
        const char* message;
    } cases[] = {
        {Row(1, 1, "http://" + QByteArray(253, 'a')), "260 UTF-16 units"},
        // 258 units and one character outside the basic plane, which takes two
        {Row(1, 2, "http://" + QByteArray(251, 'a') + "\xf0\x9f\x93\xba"), "260 UTF-16 units"},
        {Row(1, 3, "http://a/\x1b[0m"), "control character U+001B"},
        {Row(1, 4, "http://a/\x7f"), "control character U+007F"},
        {Row(1, 5, QByteArray("http://a/", 9) + '\0' + "b"), "zero byte"},
        {Row(1, 6, ""), "empty"},
        {Row(1, 7, "http://a/ "), "ends in white space"},
        {Row(1, 8, "http://a/\xff"), "not valid UTF-8"},
        {Row(2, 1, "http://a/"), "section 2 expects position 0, not 1"},
        {Row(23, 0, "http://a/"), "section 23 is outside 1..22"},
        {Row(0, 0, "http://a/"), "section 0 is outside 1..22"},
        {Row(3, 0, "http://a/").replace("3\t0", "3\tx"), "whole numbers"},
        {"3\t0\tName\n", "3 fields, the header has 6"},
    };
    QByteArray list = kHeader + Row(1, 0, "http://127.0.0.1/ok");
    for (const auto& c : cases)
        list += c.row;
    list += Row(2, 2, "http://127.0.0.1/z"); // follows the gap above, so it is fine

    const GeneratorRun run = Generate(list);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.isEmpty());
    int row = 3;
    for (const auto& c : cases) {
        const QString expected = QString("row %1: ").arg(row++);
        const qsizetype at = run.errors.indexOf(expected);
        ASSERT_GE(at, 0) << expected.toStdString() << "\n" << run.errors.toStdString();
        const QString line = run.errors.mid(at).section('\n', 0, 0);
        EXPECT_TRUE(line.contains(c.message)) << line.toStdString();
    }
    EXPECT_EQ(run.errors.count('\n'), std::size(cases));
}
