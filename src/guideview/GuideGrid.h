#pragma once
// The guide's grid: channels down the side, time across with half-hour marks and a line at
// now. Only what is visible is read and painted, so its size does not matter. The arrows
// move between programmes and channels, the Page keys by a screenful of channels, Home
// back to now. A programme with a reminder shows a bell at its right.

#include "GuideRow.h"

#include <QAbstractScrollArea>
#include <QPixmap>
#include <QTimer>

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

class GuideStore;

class GuideGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // The store is read on this thread; clock gives seconds since 1970, UTC.
    GuideGrid(const GuideStore& store, GuideLinkOf linkOf, std::function<qint64()> clock, QWidget* parent = nullptr);

    // Shows rows, with row `current` selected at the programme on now.
    void SetRows(std::vector<GuideRow> rows, int current);
    // The store's contents changed: what was read is read again.
    void Reload();
    // Channels show their logos before their names.
    void SetLogoOf(GuideLogoOf logos);
    // Programmes with a reminder (their channel and start) show a bell.
    void SetReminded(std::function<bool(const ChannelKey&, qint64 start)> reminded);
    // Programmes to be recorded show a red mark.
    void SetMarked(GuideMarkOf isMarked);

    int SelectedRow() const { return selectedRow; }
    const GuideRow* SelectedChannel() const;
    // The selected programme, when the selected row has one at the selected time.
    std::optional<GuideProgramme> SelectedProgramme();
    qint64 Now() const { return clock(); }
    // Whether the channel's archive still holds the beginning of a programme begun by now.
    bool Archived(const GuideRow& channel, const GuideProgramme& programme) const;

signals:
    void SelectionChanged();
    void Activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Span {
        qint64 from = 0, to = 0;
        std::vector<GuideProgramme> programmes;
    };

    const std::vector<GuideProgramme>& Programmes(int row, qint64 from, qint64 to);
    void UpdateScrollBars();
    int RowHeight() const;
    int HeaderHeight() const;
    int SideWidth() const;
    int VisibleRows() const;
    qint64 TimeAt(int x) const;
    int XOf(qint64 time) const;
    qint64 ViewStart() const;
    qint64 ViewEnd() const;
    void Select(int row, qint64 time);
    void MoveProgramme(int step);
    void EnsureVisible();
    void PaintHeader(QPainter& painter, qint64 from, qint64 to);
    void PaintRow(QPainter& painter, int row, int y, qint64 from, qint64 to);
    // The channel's logo at the left of its side cell; the width it takes.
    int PaintLogo(QPainter& painter, const ChannelKey& key, const QRect& cell);
    QRect LogoSlot(int top) const;
    void PaintBell(QPainter& painter, const QRect& cell, const QColor& colour) const;

    const GuideStore& store;
    GuideLinkOf linkOf;
    GuideLogoOf logoOf;
    std::function<bool(const ChannelKey&, qint64)> reminded;
    mutable QPixmap bell; // the last drawn, of bellColour
    mutable QColor bellColour;
    GuideMarkOf marked = [](const ChannelKey&, const GuideProgramme&) { return false; };
    std::function<qint64()> clock;
    std::vector<GuideRow> rows;
    std::unordered_map<int, Span> read; // by row
    qint64 origin = 0;                  // the time at the left end of the scrolled area
    int selectedRow = -1;
    qint64 selectedTime = 0;            // inside the selected programme, or where the viewer went
    QTimer nowTick;
};
