#include "InterruptWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalSockets[2] = {-1, -1}; // [0] written by the handler, [1] read by the event loop
}

InterruptWatcher::InterruptWatcher(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = &InterruptWatcher::HandleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    if (::sigaction(SIGINT, &action, nullptr) != 0)
        return;
    notifier = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &InterruptWatcher::OnReadable);
}

InterruptWatcher::~InterruptWatcher()
{
    std::signal(SIGINT, SIG_DFL);
    delete notifier;
    for (int& fd : signalSockets) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void InterruptWatcher::HandleSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = savedErrno;
}

void InterruptWatcher::OnReadable()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t got = ::read(signalSockets[1], &byte, 1);
    emit Interrupted();
}
