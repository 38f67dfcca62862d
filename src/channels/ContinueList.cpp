#include "ContinueList.h"

#include "ChannelItemDelegate.h"
#include "FilmPlaces.h"
#include "FilmsTexts.h"
#include "LogoCache.h"
#include "PositionBar.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace {
constexpr QSize kPosterIcon(16, 16);
} // namespace

ContinueList::ContinueList(QWidget* window, const LanguageStrings& texts, FilmPlaces& places)
    : QObject(window), texts(texts), places(places), list(new QTreeWidget(window))
{
    list->setObjectName(QStringLiteral("continueList"));
    list->setColumnCount(1);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setItemDelegate(new ChannelItemDelegate(list));
    list->setIconSize(kPosterIcon);
    list->hide();
    list->installEventFilter(this);
    connect(list, &QTreeWidget::itemSelectionChanged, this, &ContinueList::SelectionChanged);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (const FilmPlace* place = Selected())
            emit Chosen(place->request);
    });
}

void ContinueList::ShowLogos(LogoCache& logos)
{
    static_cast<ChannelItemDelegate*>(list->itemDelegate())
        ->SetLogoOf([this, &logos](const QModelIndex& index, int height) {
            const std::size_t row = std::size_t(index.row());
            return row < shown.size() ? logos.Logo(shown[row].poster, height) : QPixmap();
        });
    connect(&logos, &LogoCache::Answered, list->viewport(), qOverload<>(&QWidget::update));
}

bool ContinueList::Refill()
{
    const QSignalBlocker blocker(list);
    const QString selected = Selected() != nullptr ? Selected()->key : QString();
    shown = places.ToContinue();
    list->clear();
    for (const FilmPlace& place : shown) {
        auto* item = new QTreeWidgetItem();
        item->setText(0, place.request.name);
        item->setData(0, ChannelItemDelegate::DetailRole,
                      place.length > 0 ? texts.Text(Films, FilmsProgress)
                                             .arg(PositionBar::Clock(place.position), PositionBar::Clock(place.length))
                                       : PositionBar::Clock(place.position));
        list->addTopLevelItem(item);
        if (place.key == selected)
            list->setCurrentItem(item);
    }
    return !shown.empty();
}

const FilmPlace* ContinueList::Selected() const
{
    QTreeWidgetItem* item = list->currentItem();
    const int row = item != nullptr && item->isSelected() ? list->indexOfTopLevelItem(item) : -1;
    return row >= 0 && std::size_t(row) < shown.size() ? &shown[std::size_t(row)] : nullptr;
}

void ContinueList::ForgetSelected()
{
    if (const FilmPlace* place = Selected())
        places.Forget(place->key); // the list follows the places' change
}

QString ContinueList::DescriptionOf(const FilmPlace& place) const
{
    QStringList lines{place.request.name};
    if (!place.request.group.isEmpty())
        lines.append(texts.Text(Films, FilmsGroup).arg(place.request.group));
    lines.append(texts.Text(Films, FilmsPlaylist).arg(place.request.playlist));
    if (place.length > 0)
        lines.append(texts.Text(Films, FilmsLength).arg(PositionBar::Clock(place.length)));
    return lines.join(QLatin1Char('\n'));
}

bool ContinueList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != list || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete) {
        ForgetSelected();
        return true;
    }
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Selected() != nullptr) {
        emit Chosen(Selected()->request);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
