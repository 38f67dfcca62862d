#pragma once
// The PIN that opens the locked groups and channels: 4 to 8 digits, kept only as a key
// derived from it with a random salt over many rounds, so that the file does not give it
// away. After five wrong tries in a row nothing is tried for a minute.

#include "PrivacyMarks.h"

#include <QString>

#include <chrono>
#include <functional>

class PinLock
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    static constexpr int kMinDigits = 4;
    static constexpr int kMaxDigits = 8;
    static constexpr int kTriesBeforeWait = 5;
    static constexpr std::chrono::seconds kWait{60};

    explicit PinLock(Clock clock = std::chrono::steady_clock::now) : clock(std::move(clock)) {}

    static bool IsWellFormed(const QString& pin);
    // A new digest of pin (which must be well formed).
    static PinDigest DigestOf(const QString& pin);

    void SetDigest(const PinDigest& pin) { digest = pin; }
    const PinDigest& Digest() const { return digest; }
    bool HasPin() const { return digest.IsSet(); }

    enum class Answer { Right, Wrong, Waiting };
    // Waiting, without looking at pin, while the wait after too many wrong tries lasts.
    Answer Try(const QString& pin);
    // How long until the next try is looked at; zero when it is now.
    std::chrono::seconds WaitLeft() const;

private:
    Clock clock;
    PinDigest digest;
    int wrongTries = 0;
    std::chrono::steady_clock::time_point waitUntil{};
};
