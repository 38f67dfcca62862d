#include "GuideTree.h"

#include "AccessTexts.h"
#include "GuideChannelDlg.h"
#include "GuideLibrary.h"
#include "GuideTexts.h"
#include "GuideWording.h"
#include "PlaylistTexts.h"
#include "PluralForms.h"
#include "ReaderTexts.h"

#include <QInputDialog>
#include <QMenu>
#include <QTreeWidget>

namespace {
constexpr int kNode = -1;
constexpr int kPermillePerPercent = 10;
} // namespace

GuideTree::GuideTree(QTreeWidget* tree, const QIcon& icon, const LanguageStrings& texts, GuideLibrary& library)
    : QObject(tree), tree(tree), icon(icon), texts(texts), library(library)
{
    connect(&library, &GuideLibrary::ListChanged, this, &GuideTree::Rebuild);
    connect(&library, &GuideLibrary::Progress, this, &GuideTree::ShowProgress);
}

bool GuideTree::Owns(const QTreeWidgetItem* item)
{
    return item != nullptr && item->data(0, GuideRole).isValid();
}

QTreeWidgetItem* GuideTree::Node() const
{
    for (int k = tree->topLevelItemCount() - 1; k >= 0; --k) {
        if (Owns(tree->topLevelItem(k)))
            return tree->topLevelItem(k);
    }
    return nullptr;
}

void GuideTree::Append()
{
    const auto& guides = library.Guides();
    if (guides.empty())
        return;
    auto* node = new QTreeWidgetItem();
    node->setText(0, Text(GuideNodeLabel));
    node->setIcon(0, icon);
    node->setData(0, Qt::UserRole, 0u);
    node->setData(0, GuideRole, kNode);
    for (int k = 0; k < static_cast<int>(guides.size()); ++k) {
        auto* item = new QTreeWidgetItem(node);
        item->setText(0, TextOf(k));
        item->setIcon(0, icon);
        item->setData(0, Qt::UserRole, 0u);
        item->setData(0, GuideRole, k);
    }
    tree->addTopLevelItem(node);
}

// The guides changed: the node is made again where it was, open if it was, with the same
// guide selected.
void GuideTree::Rebuild()
{
    QTreeWidgetItem* old = Node();
    const bool expanded = old != nullptr && old->isExpanded();
    const QTreeWidgetItem* current = tree->currentItem();
    const int selected = Owns(current) ? current->data(0, GuideRole).toInt() : kNode - 1;
    const bool wasSelected = Owns(current);
    {
        const QSignalBlocker blocker(tree);
        delete old;
        Append();
    }
    QTreeWidgetItem* node = Node();
    if (node == nullptr)
        return;
    node->setExpanded(expanded);
    if (!wasSelected)
        return;
    QTreeWidgetItem* item = selected == kNode ? node : node->child(selected);
    tree->setCurrentItem(item != nullptr ? item : node);
}

void GuideTree::ShowProgress(const QString& source)
{
    QTreeWidgetItem* node = Node();
    const auto& guides = library.Guides();
    for (int k = 0; node != nullptr && k < node->childCount() && k < static_cast<int>(guides.size()); ++k) {
        if (guides[static_cast<std::size_t>(k)].source == source)
            node->child(k)->setText(0, TextOf(k));
    }
}

QString GuideTree::TextOf(int guide) const
{
    const GuideSource& source = library.Guides()[static_cast<std::size_t>(guide)];
    const int permille = library.PermilleOf(source.source);
    if (permille < 0)
        return source.name;
    return Text(GuideProgress).arg(source.name, QString::number(permille / kPermillePerPercent));
}

QString GuideTree::DescriptionOf(const QTreeWidgetItem* item) const
{
    const int guide = item->data(0, GuideRole).toInt();
    if (guide < 0 || guide >= static_cast<int>(library.Guides().size()))
        return {};
    const GuideSource& source = library.Guides()[static_cast<std::size_t>(guide)];
    QStringList lines{Text(GuideSourceLine).arg(source.source)};
    lines.append(source.lastRefresh.isValid()
                     ? Text(GuideReadLine).arg(ViewerDateTime(texts, source.lastRefresh))
                     : Text(GuideNeverRead));
    if (source.unknownZones > 0) {
        const QString& locale = texts[Locale].value(LocaleCode);
        lines.append(PluralForm(texts.Text(Readers, ReadersUnknownZones), locale, source.unknownZones).arg(source.unknownZones));
    }
    if (source.lastProblem != GuideProblem::None)
        lines.append(Text(GuideProblemLine).arg(GuideReasonText(texts, source.lastProblem, source.lastDetail)));
    return lines.join(QLatin1Char('\n'));
}

void GuideTree::ShowMenu(QTreeWidgetItem* item, const QPoint& globalPos)
{
    QMenu menu(tree);
    const int guide = item->data(0, GuideRole).toInt();
    if (guide < 0 || guide >= static_cast<int>(library.Guides().size())) {
        QAction* add = menu.addAction(Text(GuideAddMenu));
        QAction* refresh = menu.addAction(Text(GuideRefreshMenu));
        QAction* chosen = menu.exec(globalPos);
        if (chosen == add)
            emit AddGuideRequested();
        else if (chosen == refresh)
            library.RefreshAll();
        return;
    }
    const GuideSource source = library.Guides()[static_cast<std::size_t>(guide)];
    // A guide its playlist names comes and goes with the playlist, under the name it gives.
    QAction* rename = source.own ? menu.addAction(texts.Text(Playlists, PlaylistRenameMenu)) : nullptr;
    QAction* refresh = menu.addAction(texts.Text(Playlists, PlaylistRefreshMenu));
    QAction* cancel = library.PermilleOf(source.source) >= 0 ? menu.addAction(Text(GuideCancelMenu)) : nullptr;
    QAction* remove = source.own ? menu.addAction(texts.Text(Playlists, PlaylistRemoveMenu)) : nullptr;
    QAction* chosen = menu.exec(globalPos);
    if (chosen == nullptr)
        return;
    if (chosen == rename) {
        bool ok = false;
        const QString name = QInputDialog::getText(tree, texts.Text(Playlists, PlaylistRenameMenu),
                                                   Text(GuideRenamePrompt), QLineEdit::Normal,
                                                   source.name, &ok);
        if (ok)
            library.Rename(guide, name);
    } else if (chosen == refresh) {
        library.Refresh(guide);
    } else if (chosen == cancel) {
        library.Cancel(guide);
    } else if (chosen == remove) {
        library.Remove(guide);
    }
}

void GuideTree::ChooseGuideChannel(const GuideViewerChannel& channel, const QString& name)
{
    if (channel.key.isEmpty())
        return;
    std::map<QString, QString> guideNames; // by source
    for (const GuideSource& guide : library.Guides())
        guideNames[guide.source] = guide.name;
    const auto chosen = library.Choices().find(channel.key);
    GuideChannelDlg dlg(tree->window(), texts, name, library.Store().Channels(), guideNames,
                        chosen != library.Choices().end() ? std::optional(chosen->second) : std::nullopt);
    if (dlg.exec() == QDialog::Accepted)
        library.Choose(channel.key, dlg.Choice());
}

const QString& GuideTree::Text(int index) const
{
    return texts.Text(Guide, index);
}
