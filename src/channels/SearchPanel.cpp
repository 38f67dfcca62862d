#include "SearchPanel.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

#include <algorithm>

namespace {
constexpr int kListGap = 2;
// Up to this many names are indexed at once (a few milliseconds); longer lists on the worker.
constexpr qsizetype kIndexedAtOnce = 5000;

ChannelSearch IndexOf(const SearchEntries& entries)
{
    ChannelSearch index;
    qsizetype characters = 0;
    for (const QString& name : entries.names)
        characters += name.size();
    index.Reserve(entries.names.size(), characters);
    for (qsizetype k = 0; k < entries.names.size(); ++k)
        index.Add(entries.names[k], entries.numbers.value(k));
    return index;
}
} // namespace

SearchPanel::SearchPanel(QWidget* window) : QObject(window)
{
    model = new SearchResultModel(this);

    field = new QLineEdit(window);
    field->setObjectName(QStringLiteral("searchField"));
    field->hide();
    field->installEventFilter(this);
    // The clear button's icon comes from the desktop's theme, whose first reading is slow:
    // asked for once there is something to clear, not while the window is built.
    connect(field, &QLineEdit::textChanged, this, [this] { field->setClearButtonEnabled(true); }, Qt::SingleShotConnection);
    connect(field, &QLineEdit::textChanged, this, &SearchPanel::Run);

    list = new QListView(window);
    list->setObjectName(QStringLiteral("searchResults"));
    list->setModel(model);
    list->setUniformItemSizes(true); // rows are never measured one by one
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    delegate = new ChannelItemDelegate(list);
    list->setItemDelegate(delegate);
    list->hide();
    list->installEventFilter(this);
    connect(list, &QListView::doubleClicked, this, [this] { ChooseCurrent(); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = list->indexAt(at);
        if (index.isValid())
            list->setCurrentIndex(index);
        if (CurrentEntry() >= 0)
            emit MenuRequested(CurrentEntry(), list->viewport()->mapToGlobal(at));
    });
    connect(list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { emit CurrentEntryChanged(CurrentEntry()); });

    noResult = new QLabel(window);
    noResult->setObjectName(QStringLiteral("noChannelFound"));
    noResult->setAlignment(Qt::AlignCenter);
    noResult->setWordWrap(true);
    noResult->hide();
}

void SearchPanel::SetEntries(SearchEntries newEntries)
{
    if (newEntries.names.size() <= kIndexedAtOnce && indexing == 0) {
        ChannelSearch index = IndexOf(newEntries);
        Install(std::move(newEntries), std::move(index));
        return;
    }
    ++indexing;
    Install({}, {}); // the old entries no longer match what the window's keys stand for
    worker.Run([newEntries = std::move(newEntries)]() mutable { return std::make_pair(IndexOf(newEntries), newEntries); },
               [this](std::pair<ChannelSearch, SearchEntries> built) {
                   if (--indexing == 0) // the last list given is the one that counts
                       Install(std::move(built.second), std::move(built.first));
               });
}

void SearchPanel::Install(SearchEntries newEntries, ChannelSearch index)
{
    entries = std::move(newEntries);
    search = std::move(index);
    Run();
}

void SearchPanel::SetTexts(const QString& placeholder, const QString& resultsName, const QString& noResultText)
{
    field->setPlaceholderText(placeholder);
    field->setAccessibleName(placeholder);
    list->setAccessibleName(resultsName);
    noResult->setText(noResultText);
}

void SearchPanel::Open()
{
    open = true;
    SetShown(true);
    field->setFocus();
    field->selectAll();
}

void SearchPanel::Close()
{
    if (!open)
        return;
    open = false;
    SetShown(false);
    emit Closed();
}

void SearchPanel::SetShown(bool shown)
{
    field->setVisible(shown && open);
    list->setVisible(shown && open);
    ShowNoResult();
    if (shown && open) {
        field->raise();
        list->raise();
        noResult->raise();
    }
}

void SearchPanel::ShowNoResult()
{
    noResult->setVisible(list->isVisible() && model->rowCount() == 0 && !field->text().trimmed().isEmpty()
                         && indexing == 0);
}

void SearchPanel::SetArea(const QRect& area)
{
    const int fieldHeight = field->sizeHint().height();
    field->setGeometry(area.left(), area.top(), area.width(), fieldHeight);
    const int listTop = area.top() + fieldHeight + kListGap;
    list->setGeometry(area.left(), listTop, area.width(), std::max(area.bottom() + 1 - listTop, 0));
    noResult->setGeometry(list->geometry());
}

int SearchPanel::CurrentEntry() const
{
    const QModelIndex current = list->currentIndex();
    return current.isValid() ? Results()[static_cast<std::size_t>(current.row())] : -1;
}

void SearchPanel::SelectEntry(int entry)
{
    const std::vector<int>& results = Results();
    const auto at = std::find(results.begin(), results.end(), entry);
    if (at != results.end())
        list->setCurrentIndex(model->index(static_cast<int>(at - results.begin())));
}

void SearchPanel::Run()
{
    more = {};
    channelResults = search.Find(field->text());
    model->SetResults(&entries, channelResults, &more);
    ShowNoResult();
    if (model->rowCount() > 0)
        list->setCurrentIndex(model->index(0));
    else
        emit CurrentEntryChanged(-1);
    emit QueryChanged(field->text());
}

void SearchPanel::SetMoreResults(const QString& query, SearchEntries found)
{
    if (query != field->text() || indexing > 0)
        return;
    const int current = CurrentEntry();
    more = std::move(found);
    std::vector<int> rows = channelResults;
    const int first = static_cast<int>(entries.names.size());
    for (int k = 0; k < more.names.size(); ++k)
        rows.push_back(first + k);
    model->SetResults(&entries, std::move(rows), &more);
    ShowNoResult();
    if (current >= 0)
        SelectEntry(current);
    else if (model->rowCount() > 0)
        list->setCurrentIndex(model->index(0));
}

void SearchPanel::Move(int step)
{
    const int count = model->rowCount();
    if (count == 0)
        return;
    const int row = std::clamp(list->currentIndex().row() + step, 0, count - 1);
    list->setCurrentIndex(model->index(row));
}

void SearchPanel::ChooseCurrent()
{
    const int entry = CurrentEntry();
    if (entry >= 0)
        emit EntryChosen(entry);
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    switch (static_cast<QKeyEvent*>(event)->key()) {
    case Qt::Key_Up:
        if (watched != field)
            break; // the list moves its own selection
        Move(-1);
        return true;
    case Qt::Key_Down:
        if (watched != field)
            break;
        Move(+1);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ChooseCurrent();
        return true;
    case Qt::Key_Escape:
        Close();
        return true;
    case Qt::Key_R:
        if (watched != list || static_cast<QKeyEvent*>(event)->modifiers() != Qt::NoModifier || CurrentEntry() < 0)
            break;
        emit RemindRequested(CurrentEntry());
        return true;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void SearchPanel::SetMarkOf(std::function<QString(int entry)> markOf)
{
    delegate->SetMarkOf([this, markOf = std::move(markOf)](const QModelIndex& index) {
        const std::vector<int>& shown = model->Entries();
        const auto row = static_cast<std::size_t>(index.row());
        return row < shown.size() ? markOf(shown[row]) : QString();
    });
}

void SearchPanel::SetRecordedOf(std::function<bool(int entry)> recordedOf)
{
    delegate->SetRecordedOf([this, recordedOf = std::move(recordedOf)](const QModelIndex& index) {
        const std::vector<int>& shown = model->Entries();
        const auto row = static_cast<std::size_t>(index.row());
        return row < shown.size() && recordedOf(shown[row]);
    });
}

void SearchPanel::SetLogoOf(const QSize& iconSize, std::function<QPixmap(int entry, int height)> logoOf)
{
    list->setIconSize(iconSize);
    delegate->SetLogoOf([this, logoOf = std::move(logoOf)](const QModelIndex& index, int height) {
        const std::vector<int>& shown = model->Entries();
        const auto row = static_cast<std::size_t>(index.row());
        const QPixmap logo = row < shown.size() ? logoOf(shown[row], height) : QPixmap();
        if (!logo.isNull())
            return logo;
        // Results have no icons of their own: an empty one keeps the names in line.
        if (blank.height() != height) {
            blank = QPixmap(height, height);
            blank.fill(Qt::transparent);
        }
        return blank;
    });
}

void SearchPanel::RepaintResults()
{
    list->viewport()->update();
}
