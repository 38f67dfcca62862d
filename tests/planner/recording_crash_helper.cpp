// Stand-in for the program while a scheduled recording runs, for the crash test; it dies
// with the test that started it.
//   recording_crash_helper <stream address> <folder>
// records the programme on now of the stream's channel into <folder>/videos, as the
// schedule in <folder>/Recordings.xml says, and prints the file's path once it began.

#include "RecordingScheduler.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace {
constexpr std::chrono::hours kProgrammeLength{1};
} // namespace

int main(int argc, char** argv)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    const QString address = args[1], folder = args[2];
    RecordingScheduler scheduler;
    scheduler.SetPlace(RecordingPlace(folder + QStringLiteral("/videos")));
    scheduler.SetSources([address](const ChannelKey&) { return std::optional<CopySource>(CopySource{address, {}, {}}); });
    QObject::connect(&scheduler, &RecordingScheduler::Started, [](const RecordedProgramme& recording) {
        std::printf("%s\n", recording.path.toUtf8().constData());
        std::fflush(stdout);
    });
    scheduler.Load(folder + QStringLiteral("/Recordings.xml"));
    const PlanTime now = RecordingScheduler::SystemNow();
    scheduler.Record({0, 0, 1}, QStringLiteral("Zoo"), {QStringLiteral("Cut short"), {}, {}, {}, now, now + kProgrammeLength});
    return app.exec();
}
