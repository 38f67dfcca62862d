// korvanta-check-streams: checks every stream address in Korvanta's channel list.

#include "ChannelListReader.h"
#include "InterruptWatcher.h"
#include "ReportWriter.h"
#include "StreamProber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kExitAllOk = 0;
constexpr int kExitSomeNotOk = 1;
constexpr int kExitBadUsage = 2;

void Print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int BadUsage(const QString& message)
{
    Print(stderr, QStringLiteral("korvanta-check-streams: %1\nTry --help.\n").arg(message));
    return kExitBadUsage;
}

bool AllOk(const QStringList& addresses, const QHash<QString, ProbeResult>& results)
{
    for (const QString& address : addresses) {
        const auto found = results.constFind(address);
        if (found == results.cend() || found->status != ProbeStatus::Ok)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvanta-check-streams"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KORVANTA_VERSION));
    std::setlocale(LC_NUMERIC, "C"); // the player engine refuses to start otherwise

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Checks every stream address in Korvanta's channel list and reports, slot by slot,\n"
        "the ones that no longer play. The list is only read, never written.\n"
        "Exit status: 0 every address is ok; 1 some are not, or the run was interrupted;\n"
        "2 bad usage or an unreadable list."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption listOption(QStringLiteral("list"),
        QStringLiteral("The channel list to check (default: %1).").arg(QStringLiteral(KORVANTA_CHANNEL_LIST_PATH)),
        QStringLiteral("file"), QStringLiteral(KORVANTA_CHANNEL_LIST_PATH));
    const QCommandLineOption formatOption(QStringLiteral("format"),
        QStringLiteral("Report as text, json or tsv (default: text)."), QStringLiteral("format"),
        QStringLiteral("text"));
    const QCommandLineOption jobsOption(QStringLiteral("jobs"),
        QStringLiteral("Addresses probed at the same time (default: 8)."), QStringLiteral("n"),
        QStringLiteral("8"));
    const QCommandLineOption timeoutOption(QStringLiteral("timeout"),
        QStringLiteral("Seconds each address may take (default: 10)."), QStringLiteral("seconds"),
        QStringLiteral("10"));
    const QCommandLineOption deepOption(QStringLiteral("deep"),
        QStringLiteral("Also open each working address in the player and wait for the first frame."));
    parser.addOptions({listOption, formatOption, jobsOption, timeoutOption, deepOption});

    if (!parser.parse(QCoreApplication::arguments()))
        return BadUsage(parser.errorText());
    if (parser.isSet(helpOption)) {
        Print(stdout, parser.helpText());
        return kExitAllOk;
    }
    if (parser.isSet(versionOption)) {
        Print(stdout, QStringLiteral("korvanta-check-streams %1\n").arg(QStringLiteral(KORVANTA_VERSION)));
        return kExitAllOk;
    }
    if (!parser.positionalArguments().isEmpty())
        return BadUsage(QStringLiteral("unexpected argument: ") + parser.positionalArguments().first());

    const std::optional<ReportWriter::Format> format = ReportWriter::FormatNamed(parser.value(formatOption));
    if (!format)
        return BadUsage(QStringLiteral("--format must be text, json or tsv"));
    StreamProber::Options options;
    bool numberOk = false;
    options.jobs = parser.value(jobsOption).toInt(&numberOk);
    if (!numberOk || options.jobs < 1 || options.jobs > 1000)
        return BadUsage(QStringLiteral("--jobs must be a whole number from 1 to 1000"));
    const double seconds = parser.value(timeoutOption).toDouble(&numberOk);
    if (!numberOk || !(seconds >= 0.1 && seconds <= 3600))
        return BadUsage(QStringLiteral("--timeout must be a number of seconds from 0.1 to 3600"));
    options.timeout = std::chrono::milliseconds(static_cast<qint64>(seconds * 1000));
    options.deep = parser.isSet(deepOption);

    ChannelListReader reader;
    if (!reader.Read(parser.value(listOption)))
        return BadUsage(reader.Error());
    const QStringList addresses = ChannelListReader::DistinctAddresses(reader.Slots());

    StreamProber prober(addresses, options);
    InterruptWatcher watcher;
    bool interrupted = false;
    QObject::connect(&watcher, &InterruptWatcher::Interrupted, &app, [&] {
        interrupted = true;
        prober.Stop();
        QCoreApplication::quit();
    });
    QObject::connect(&prober, &StreamProber::Finished, &app, &QCoreApplication::quit);
    const bool showProgress = ::isatty(STDERR_FILENO) == 1;
    if (showProgress) {
        QObject::connect(&prober, &StreamProber::Progress, &app, [](int checked, int total) {
            Print(stderr, QStringLiteral("\rChecked %1 of %2 addresses").arg(checked).arg(total));
        });
    }

    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, &prober, &StreamProber::Start);
    QCoreApplication::exec();
    if (showProgress)
        Print(stderr, QStringLiteral("\n"));

    const ReportWriter writer(reader.Slots(), prober.Results(), interrupted, clock.elapsed());
    const QByteArray report = writer.Write(*format);
    std::fwrite(report.constData(), 1, static_cast<size_t>(report.size()), stdout);
    std::fflush(stdout);
    return !interrupted && AllOk(addresses, prober.Results()) ? kExitAllOk : kExitSomeNotOk;
}
