// korvanta-check-streams: checks every stream address in Korvanta's channel list.

#include "ChannelListReader.h"
#include "M3uParser.h"
#include "InterruptWatcher.h"
#include "ReportWriter.h"
#include "SecretMask.h"
#include "StreamProber.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <unistd.h>

namespace {

constexpr int kExitAllOk = 0;
constexpr int kExitSomeNotOk = 1;
constexpr int kExitBadUsage = 2;
constexpr int kDownloadTimeoutMs = 30000;

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

// A playlist file, or one downloaded from an http(s) address; problem says why not.
QByteArray ReadPlaylist(const QString& location, QString& problem)
{
    const QUrl url(location);
    const bool remote = url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
    if (!remote) {
        QFile file(location);
        if (!file.open(QIODevice::ReadOnly)) {
            problem = QStringLiteral("cannot read %1: %2").arg(location, file.errorString());
            return {};
        }
        return file.read(M3uParser::kMaxBytes + 1);
    }
    QNetworkAccessManager network;
    QNetworkRequest request(url);
    request.setTransferTimeout(kDownloadTimeoutMs);
    QNetworkReply* reply = network.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    const QByteArray bytes = reply->readAll();
    if (reply->error() != QNetworkReply::NoError)
        problem = QStringLiteral("cannot download %1: %2").arg(location, reply->errorString());
    delete reply;
    return bytes;
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
    parser.addPositionalArgument(QStringLiteral("list"),
        QStringLiteral("A channel list to check (default: the list built into the program)."),
        QStringLiteral("[list.tsv]"));
    const QCommandLineOption listOption(QStringLiteral("list"),
        QStringLiteral("The channel list to check, as the argument above."), QStringLiteral("file"));
    const QCommandLineOption m3uOption(QStringLiteral("m3u"),
        QStringLiteral("Check the channels of an M3U playlist: a file or an http(s) address."),
        QStringLiteral("file-or-address"));
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
    parser.addOptions({listOption, m3uOption, formatOption, jobsOption, timeoutOption, deepOption});

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
    const QStringList positional = parser.positionalArguments();
    const int sources = static_cast<int>(positional.size()) + (parser.isSet(listOption) ? 1 : 0) +
                        (parser.isSet(m3uOption) ? 1 : 0);
    if (sources > 1)
        return BadUsage(QStringLiteral("give one list: a file, --list or --m3u"));

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
    const QString listPath = positional.isEmpty() ? parser.value(listOption) : positional.first();
    const SecretMask mask(parser.value(m3uOption));
    if (parser.isSet(m3uOption)) {
        const QString location = parser.value(m3uOption);
        QString problem;
        const QByteArray bytes = ReadPlaylist(location, problem);
        if (!problem.isEmpty())
            return BadUsage(mask.Text(problem));
        if (!reader.ReadM3u(location, bytes))
            return BadUsage(mask.Text(reader.Error()));
    } else if (!listPath.isEmpty()) {
        if (!reader.Read(listPath))
            return BadUsage(reader.Error());
    } else {
        reader.ReadBuiltIn();
    }
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

    const ReportWriter writer(reader.Slots(), prober.Results(), interrupted, clock.elapsed(), mask);
    const QByteArray report = writer.Write(*format);
    std::fwrite(report.constData(), 1, static_cast<size_t>(report.size()), stdout);
    std::fflush(stdout);
    return !interrupted && AllOk(addresses, prober.Results()) ? kExitAllOk : kExitSomeNotOk;
}
