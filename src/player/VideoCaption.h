#pragma once
// What we draw on the picture ourselves: in place of the picture, a card naming the channel
// and why it does not play (so that no frame of an earlier channel stays on screen), and
// over the picture, a new channel's name for a moment after a zap.

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

    // repaint: asks the picture to be drawn again.
    explicit VideoCaption(std::function<void()> repaint);

    void ShowCard(const QString& name, const QString& reason, const QColor& colour);
    void HideCard();
    // The name over the picture for kTitleMs.
    void ShowTitle(const QString& name, const QColor& colour);

    bool HidesPicture() const { return cardShown; }
    bool IsEmpty() const { return !cardShown && title.isEmpty(); }
    QString Card() const { return cardShown ? cardName + QLatin1Char('\n') + cardReason : QString(); }
    const QString& Title() const { return title; }

    // Draws the card or the title on a picture filling area.
    void Paint(QPainter& painter, const QRect& area) const;

private:
    void PaintCard(QPainter& painter, const QRect& area) const;
    void PaintTitle(QPainter& painter, const QRect& area) const;

    std::function<void()> repaint;
    bool cardShown = false;
    QString cardName;
    QString cardReason;
    QColor cardColour;
    QString title;
    QColor titleColour;
    QTimer titleTimer;
};
