#include "PinLock.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>

#include <algorithm>

namespace {
constexpr int kRounds = 60000;
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;

QByteArray Derive(const QString& pin, const QByteArray& salt, int rounds)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, pin.toUtf8(), salt, rounds, kKeyBytes);
}

// Compares all of both, so that the time taken tells nothing of where they differ.
bool SameBytes(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype k = 0; k < a.size(); ++k)
        difference |= static_cast<unsigned char>(a[k] ^ b[k]);
    return difference == 0;
}
} // namespace

bool PinLock::IsWellFormed(const QString& pin)
{
    return pin.size() >= kMinDigits && pin.size() <= kMaxDigits
           && std::all_of(pin.begin(), pin.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

PinDigest PinLock::DigestOf(const QString& pin)
{
    QByteArray salt(kSaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), kSaltBytes / sizeof(quint32));
    return {salt, Derive(pin, salt, kRounds), kRounds};
}

PinLock::Answer PinLock::Try(const QString& pin)
{
    if (WaitLeft().count() > 0)
        return Answer::Waiting;
    if (HasPin() && IsWellFormed(pin) && SameBytes(Derive(pin, digest.salt, digest.rounds), digest.key)) {
        wrongTries = 0;
        return Answer::Right;
    }
    if (++wrongTries >= kTriesBeforeWait) {
        wrongTries = 0;
        waitUntil = clock() + kWait;
    }
    return Answer::Wrong;
}

std::chrono::seconds PinLock::WaitLeft() const
{
    const auto left = waitUntil - clock();
    if (left <= std::chrono::steady_clock::duration::zero())
        return std::chrono::seconds(0);
    return std::chrono::ceil<std::chrono::seconds>(left);
}
