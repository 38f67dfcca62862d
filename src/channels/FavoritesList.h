#pragma once
// The favourites tab's list: one row per favourite, in the viewer's order, filled when its
// window is and following the favourites as they change; a change made here selects the row
// it concerns.

#include "Favorites.h"

#include <QIcon>
#include <QList>
#include <QObject>

class ChannelDirectory;
class LogoCache;
class QTreeWidget;

class FavoritesList : public QObject
{
    Q_OBJECT
public:
    FavoritesList(QWidget* window, Favorites& favorites, const ChannelDirectory& directory,
                  const QList<QIcon>& images);

    QTreeWidget* Widget() const { return list; }
    void ShowLogos(LogoCache& logos);

    bool HasSelection() const;
    // The selected row, -1 for none.
    int SelectedRow() const;
    void Select(int row);
    QString DescriptionOf(int row) const;

    // Adds favorite unless it is there already, and selects it.
    void Add(const Favorite& favorite);
    void RemoveSelected();
    void MoveSelected(int step);
    // The rows again, with nothing selected.
    void Refill();

signals:
    void SelectionChanged();
    void Activated(int row);

private:
    Favorites& favorites;
    const ChannelDirectory& directory;
    QList<QIcon> images;
    QTreeWidget* list;
};
