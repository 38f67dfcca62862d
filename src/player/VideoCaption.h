#pragma once
// What we draw on the picture ourselves: in place of the picture, a card naming the channel
// and why it does not play (so that no frame of an earlier channel stays on screen), or a
// hint while there is nothing to play; over the picture, a new channel's name for a moment
// after a zap, and the channel number being typed; along the bottom for a moment, where a
// film plays and its length.

#include <QColor>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QPainter;
class QRect;

class VideoCaption : public QObject
{
public:
    static constexpr int kTitleMs = 2000;
    static constexpr int kPositionMs = 3000;

    // repaint: asks the picture to be drawn again.
    explicit VideoCaption(std::function<void()> repaint);

    void ShowCard(const QString& name, const QString& reason, const QColor& colour);
    void HideCard();
    // The name over the picture for kTitleMs.
    void ShowTitle(const QString& name, const QColor& colour);

    // Centred on the black picture while no card is shown; empty: none.
    void SetHint(const QString& text, const QColor& colour);
    // In the picture's top right corner until cleared with an empty text.
    void SetNumber(const QString& text, const QColor& colour);
    // A film's position and length along the bottom for kPositionMs, in seconds.
    void ShowPosition(double position, double length, const QColor& colour);
    // While shown, it follows the film; hidden, it stays so.
    void MovePosition(double position, double length);
    bool PositionShown() const { return positionTimer.isActive(); }

    bool HidesPicture() const { return cardShown; }
    bool IsEmpty() const
    {
        return !cardShown && title.isEmpty() && hint.isEmpty() && number.isEmpty() && !positionTimer.isActive();
    }
    QString Card() const { return cardShown ? cardName + QLatin1Char('\n') + cardReason : QString(); }
    const QString& Title() const { return title; }
    const QString& Hint() const { return hint; }
    const QString& Number() const { return number; }

    // Draws the card or the title on a picture filling area.
    void Paint(QPainter& painter, const QRect& area) const;

private:
    void PaintCard(QPainter& painter, const QRect& area) const;
    void PaintHint(QPainter& painter, const QRect& area) const;
    void PaintPosition(QPainter& painter, const QRect& area) const;
    static void PaintBox(QPainter& painter, const QRect& area, const QString& text, const QColor& colour,
                         Qt::Alignment corner);

    std::function<void()> repaint;
    bool cardShown = false;
    QString cardName;
    QString cardReason;
    QColor cardColour;
    QString title;
    QColor titleColour;
    QTimer titleTimer;
    QString hint;
    QColor hintColour;
    QString number;
    QColor numberColour;
    double position = 0;
    double length = 0;
    QColor positionColour;
    QTimer positionTimer;
};
