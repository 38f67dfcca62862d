#pragma once
// Digits typed over the picture, as on a TV remote: they build a channel number, shown as it
// grows, that is chosen after Enter or a short pause; Escape drops it.

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class ChannelNumberEntry : public QObject
{
public:
    static constexpr int kPauseMs = 1500; // until the viewer prefers another
    // Enough for any line-up; the number is chosen as soon as it has this many digits.
    static constexpr int kMaxDigits = 5;

    // choose: called with the number once it is complete. show: the text to show on the
    // picture, empty when there is none.
    ChannelNumberEntry(std::function<void(int)> choose, std::function<void(const QString&)> show);

    void AddDigit(int digit);
    // Enter: chooses the number at once. False when none is being typed.
    bool Finish();
    // Escape: drops the number. False when none is being typed.
    bool Cancel();
    // A message in place of the number, such as that nothing has it, for one pause.
    void ShowBriefly(const QString& text);

    bool IsTyping() const { return !digits.isEmpty(); }
    // How long a pause ends the number: the viewer's preference.
    void SetPause(int milliseconds) { pause.setInterval(milliseconds); }

private:
    void Clear();

    std::function<void(int)> choose;
    std::function<void(const QString&)> show;
    QString digits;
    QTimer pause;
};
