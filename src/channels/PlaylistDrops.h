#pragma once
// Files and addresses dropped on a window: those that may be playlists, and what else was
// dropped with them, told once the drop is made.

#include <QObject>
#include <QStringList>

class QWidget;

class PlaylistDrops : public QObject
{
    Q_OBJECT
public:
    // window takes drops from now on.
    explicit PlaylistDrops(QWidget* window);

signals:
    void Dropped(const QStringList& sources, const QStringList& refused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
