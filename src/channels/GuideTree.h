#pragma once
// The viewer's programme guides in the channel tree: one node after the playlists holding
// a child per guide, shown while there are guides. A guide being read shows how far it
// got; its menu renames, refreshes, cancels and (for the viewer's own) removes it.

#include "GuideMatcher.h"
#include "LanguageStrings.h"

#include <QIcon>
#include <QObject>

class GuideLibrary;
class QTreeWidget;
class QTreeWidgetItem;

class GuideTree : public QObject
{
    Q_OBJECT
public:
    // On the node and the guide items: -1 on the node, else the guide's index.
    static constexpr int GuideRole = Qt::UserRole + 6; // after PlaylistTree's roles

    GuideTree(QTreeWidget* tree, const QIcon& icon, const LanguageStrings& texts, GuideLibrary& library);

    // Appends the node at the end of the tree, when there are guides.
    void Append();
    static bool Owns(const QTreeWidgetItem* item);
    // What the description box shows for an item of ours.
    QString DescriptionOf(const QTreeWidgetItem* item) const;
    void ShowMenu(QTreeWidgetItem* item, const QPoint& globalPos);
    // "Choose guide channel…" for one of the viewer's channels.
    void ChooseGuideChannel(const GuideViewerChannel& channel, const QString& name);

signals:
    void AddGuideRequested();

private:
    void Rebuild();
    void ShowProgress(const QString& source);
    QTreeWidgetItem* Node() const;
    QString TextOf(int guide) const;
    const QString& Text(int index) const;

    QTreeWidget* tree;
    QIcon icon;
    const LanguageStrings& texts;
    GuideLibrary& library;
};
