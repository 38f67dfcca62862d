// A second start hands its playlist arguments to the running program.

#include "SingleInstance.h"

#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kHelperWaitMs = 15000;

// Listens at the path, says so, then counts the bytes its first caller sends until that
// hangs up (or three seconds pass).
constexpr char kSquatter[] = R"(
import socket, sys
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1])
s.listen()
print("ready", flush=True)
c = s.accept()[0]
c.settimeout(3)
n = 0
try:
    while d := c.recv(4096):
        n += len(d)
except OSError:
    pass
print(n, flush=True)
)";

// Hands over one playlist as a second start does and prints the answer.
constexpr char kIntruder[] = R"(
import socket, struct, sys
c = socket.socket(socket.AF_UNIX)
c.connect(sys.argv[1])
t = "/tmp/planted.m3u".encode("utf-16-be")
c.sendall(struct.pack(">II", 1, len(t)) + t)
c.settimeout(5)
try:
    print(repr(c.recv(1)), flush=True)
except OSError as e:
    print(type(e).__name__, flush=True)
)";

// A short Python program run as another user of the machine (nobody).
class OtherUser
{
public:
    OtherUser(const char* script, const QString& socketPath)
    {
        process.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                  "/usr/bin/python3", "-c", script, socketPath});
    }
    ~OtherUser()
    {
        process.kill();
        process.waitForFinished();
    }
    // The next line it prints; empty when none comes.
    QByteArray Line()
    {
        const bool printed = QTest::qWaitFor([this] { return process.canReadLine(); }, kHelperWaitMs);
        return printed ? process.readLine().trimmed() : QByteArray();
    }

private:
    QProcess process;
};

} // namespace

TEST(SingleInstance, SecondStartHandsItsArgumentsToTheFirst)
{
    const QString name = SingleInstance::NameFor(QStringLiteral("/test/%1").arg(QCoreApplication::applicationPid()));
    EXPECT_NE(name, SingleInstance::NameFor(QStringLiteral("/other")));
    SingleInstance first(name);
    EXPECT_FALSE(first.HandOver({QStringLiteral("/tv.m3u")})); // nobody runs yet
    ASSERT_TRUE(first.Listen());

    QSignalSpy received(&first, &SingleInstance::Received);
    const QStringList arguments{QStringLiteral("/home/v/tv.m3u"), QStringLiteral("http://h/ü.m3u")};
    // The second start blocks while it waits for the answer, as a separate process would.
    auto handedOver = std::async(std::launch::async, [&] { return SingleInstance(name).HandOver(arguments); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return handedOver.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 10000));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toStringList(), arguments);
    EXPECT_TRUE(handedOver.get());
}

TEST(SingleInstance, FileArgumentsBecomeAbsoluteAgainstTheCallersDirectory)
{
    const QStringList arguments{"tv.m3u", "../lists/a.m3u8", "/abs/b.m3u", "file:///abs/c%20d.m3u",
                                "https://h/list.m3u", "-style", ""};
    EXPECT_EQ(PlaylistArguments(arguments, QStringLiteral("/home/v/here")),
              (QStringList{"/home/v/here/tv.m3u", "/home/v/lists/a.m3u8", "/abs/b.m3u", "/abs/c d.m3u",
                           "https://h/list.m3u"}));
}

TEST(SingleInstance, NothingIsHandedToAnotherUserNorTakenFromOne)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "acting as another user needs root";
    TempDir shared; // as /tmp: everybody may make files in it
    ASSERT_EQ(::chmod(QFile::encodeName(shared.Path()).constData(), 01777), 0);
    const QString runtime = shared.FilePath(QStringLiteral("run"));
    ASSERT_EQ(::mkdir(QFile::encodeName(runtime).constData(), 0700), 0);
    const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
    const QString name = SingleInstance::NameFor(QStringLiteral("/test/squatted"));
    if (previousRuntime.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", previousRuntime);
    ASSERT_TRUE(name.startsWith(runtime)) << name.toStdString();

    // Another user's socket under our name, as if it had got into the folder: a start is
    // not handed anything and becomes the running instance itself.
    OtherUser squatter(kSquatter, shared.FilePath(QStringLiteral("squat")));
    ASSERT_EQ(squatter.Line(), "ready");
    ASSERT_TRUE(QFile::rename(shared.FilePath(QStringLiteral("squat")), name));
    SingleInstance victim(name);
    EXPECT_FALSE(victim.HandOver({QStringLiteral("https://h/list.m3u?token=secret")}));
    EXPECT_EQ(squatter.Line(), "0");
    ASSERT_TRUE(victim.Listen());

    // Another user's start reaching the socket (through a link) is not heard.
    QSignalSpy received(&victim, &SingleInstance::Received);
    const QString door = shared.FilePath(QStringLiteral("door"));
    ASSERT_EQ(::link(QFile::encodeName(name).constData(), QFile::encodeName(door).constData()), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(door).constData(), 0777), 0);
    OtherUser intruder(kIntruder, door);
    EXPECT_NE(intruder.Line(), "b'1'");
    EXPECT_TRUE(received.isEmpty());
}
