// Stand-in for the program at the moment it saves, for the crash-safety tests. It dies
// with the test that started it.
//   save_helper loop <folder>  saves the two versions in turn, forever; prints "saving"
//                              once both were written completely
//   save_helper full <folder>  on a small file system of its own: saves version 0, fills
//                              the file system, then saves version 1; prints one line per
//                              failed check and exits 0 when the old files survived intact

#include "SavedVersions.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kFillChunk = 4096;

void Fill(const QString& path)
{
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray chunk(kFillChunk, 'x');
    while (filler.write(chunk) == chunk.size()) {
    }
    for (int size = kFillChunk / 2; size > 0; size /= 2) { // the last scraps
        while (filler.write(chunk.left(size)) == size) {
        }
    }
}

int Full(const QString& folder)
{
    int failures = 0;
    const auto check = [&failures](bool ok, const char* what) {
        if (!ok) {
            std::printf("failed: %s\n", what);
            ++failures;
        }
    };
    check(SaveVersion(folder, 0), "version 0 saves on the empty file system");
    const auto before = ReadSavedFiles(folder);
    const QString filler = QDir(folder).filePath(QStringLiteral("filler"));
    Fill(filler);
    check(!SaveVersion(folder, 1), "a save on the full file system reports failure");
    check(ReadSavedFiles(folder) == before, "the old files survive byte for byte");
    const QStringList left = QDir(folder).entryList(QDir::Files);
    check(left.size() == SavedFileNames().size() + 1, "no temporary file is left behind");
    QFile::remove(filler);
    check(SaveVersion(folder, 1), "with room again the save succeeds");
    std::fflush(stdout);
    return failures == 0 ? 0 : 1;
}

int Loop(const QString& folder)
{
    for (int round = 0;; ++round) {
        SaveVersion(folder, round % 2);
        if (round == 1) {
            std::printf("saving\n");
            std::fflush(stdout);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() == 1 || argc != 3) // the test is gone already, or a wrong call
        return 2;
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QByteArray mode = argv[1];
    if (mode == "loop")
        return Loop(folder);
    if (mode == "full")
        return Full(folder);
    return 2;
}
