#include "RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kChunkBytes = 1024 * 1024;

class Descriptor
{
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    const int fd;
};

} // namespace

FileReadResult ReadRegularFile(const QString& path, qint64 maxBytes)
{
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.fd < 0)
        return {{}, FileReadError::CannotOpen};
    struct stat status = {};
    if (::fstat(file.fd, &status) != 0)
        return {{}, FileReadError::ReadFailed};
    if (!S_ISREG(status.st_mode))
        return {{}, FileReadError::NotRegular};
    if (status.st_size > maxBytes)
        return {{}, FileReadError::TooLarge};

    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(status.st_size));
    for (;;) {
        // One byte past the limit tells a file that grew beyond it.
        const qint64 wanted = std::min(kChunkBytes, maxBytes + 1 - bytes.size());
        const qsizetype start = bytes.size();
        bytes.resize(start + static_cast<qsizetype>(wanted));
        const ssize_t got = ::read(file.fd, bytes.data() + start, static_cast<size_t>(wanted));
        if (got < 0 && errno == EINTR) {
            bytes.resize(start);
            continue;
        }
        if (got < 0)
            return {{}, FileReadError::ReadFailed};
        bytes.resize(start + got);
        if (bytes.size() > maxBytes)
            return {{}, FileReadError::TooLarge};
        if (got == 0)
            return {bytes, FileReadError::None};
    }
}
