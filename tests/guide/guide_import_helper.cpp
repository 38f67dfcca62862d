// Stand-in for the program importing a guide, for the killed-import test:
//   guide_import_helper <database> <source> <guide file> <now> <tvg-id>...
// imports the file, prints "halfway" once half of it is read and written into the open
// transaction, then waits there until it is killed. It dies with the test that started it.

#include "GuideTestSupport.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <unistd.h>

namespace {
constexpr int kHalfway = 500;
} // namespace

int main(int argc, char** argv)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5)
        return 2;
    std::vector<GuideViewerChannel> channels;
    for (qsizetype i = 5; i < args.size(); ++i)
        channels.push_back({args[i], args[i], {}, {}, 0});
    bool paused = false;
    ImportGuide(args[1], args[2], args[3], GuideMatcher(channels, {}), args[4].toLongLong(), [&](int permille) {
        if (paused || permille < kHalfway)
            return;
        paused = true;
        std::printf("halfway\n");
        std::fflush(stdout);
        pause();
    });
    return 1; // never reached unless the pause ends
}
