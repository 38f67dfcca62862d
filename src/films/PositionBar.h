#pragma once
// Where a film plays and how long it is, in the play panel while one plays: the time played
// at its left, the length at its right, a track between them in the skin's colours. A click
// jumps, a drag scrubs with the time under the pointer, the wheel steps. Its value is the
// position in seconds, which a screen reader reads as a slider's.

#include <QSlider>

class PositionBar : public QSlider
{
    Q_OBJECT
public:
    static constexpr int kWheelStepSeconds = 10;

    explicit PositionBar(QWidget* parent = nullptr);

    // The film's position and length in seconds; ignored while the viewer drags.
    void Show(double position, double length);
    // "12:34", "1:52:10".
    static QString Clock(double seconds);

signals:
    // The viewer asks for that point of the film, in seconds.
    void SeekRequested(double seconds);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QRect TrackRect() const;
    int SecondsAt(int x) const;
    void Scrub(const QPoint& at, bool done);

    bool scrubbing = false;
};
