#include "ChannelNumberEntry.h"

#include <utility>

ChannelNumberEntry::ChannelNumberEntry(std::function<void(int)> choose, std::function<void(const QString&)> show)
    : choose(std::move(choose)), show(std::move(show))
{
    pause.setSingleShot(true);
    pause.setInterval(kPauseMs);
    connect(&pause, &QTimer::timeout, this, [this] {
        if (!Finish())
            Clear(); // a message's time is up
    });
}

void ChannelNumberEntry::AddDigit(int digit)
{
    digits += QChar(u'0' + digit);
    show(digits);
    if (digits.size() >= kMaxDigits)
        Finish();
    else
        pause.start();
}

bool ChannelNumberEntry::Finish()
{
    if (digits.isEmpty())
        return false;
    const int number = digits.toInt();
    Clear();
    choose(number);
    return true;
}

bool ChannelNumberEntry::Cancel()
{
    if (digits.isEmpty())
        return false;
    Clear();
    return true;
}

void ChannelNumberEntry::ShowBriefly(const QString& text)
{
    show(text);
    pause.start();
}

void ChannelNumberEntry::Clear()
{
    pause.stop();
    digits.clear();
    show(QString());
}
