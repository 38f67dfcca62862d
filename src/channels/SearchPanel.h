#pragma once
// The search field and its flat result list on the channel window's tree tab. Typing
// filters every channel name given by the window; the first result is selected as one
// types, Up and Down move, Enter or a double-click chooses, Escape closes; R in the list
// and its context menu are the owner's to answer. A search that
// finds nothing says so in place of the list.

#include "BackgroundWork.h"
#include "ChannelSearch.h"
#include "SearchResultModel.h"

#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QListView;

class SearchPanel : public QObject
{
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* window);

    // What to search, in entry order; an open search is run again over it. A long list is
    // indexed on a worker, and searching finds nothing until that is done.
    void SetEntries(SearchEntries entries);
    bool IsIndexing() const { return indexing > 0; }
    // The field's placeholder, which also names it, the name of the result list and the
    // words for no result.
    void SetTexts(const QString& placeholder, const QString& resultsName, const QString& noResult);

    void Open();
    void Close();
    bool IsOpen() const { return open; }
    // Shows or hides the open search with its tab, keeping what was typed.
    void SetShown(bool shown);
    // Places the field at the top of area and the list below it.
    void SetArea(const QRect& area);

    // Results found elsewhere for query (the guide's programmes), shown after the channels
    // while the field still holds query; their entries follow those SetEntries gave.
    void SetMoreResults(const QString& query, SearchEntries found);

    // The selected result's entry, -1 for none; the results in their shown order.
    int CurrentEntry() const;
    const std::vector<int>& Results() const { return model->Entries(); }
    // Highlights entry when it is among the results.
    void SelectEntry(int entry);
    // Results show their entry's logo (at a height) in the room of an icon of iconSize;
    // RepaintResults when one came.
    void SetLogoOf(const QSize& iconSize, std::function<QPixmap(int entry, int height)> logoOf);
    // A result's mark (a film watched), empty for none.
    void SetMarkOf(std::function<QString(int entry)> markOf);
    // Whether a result is a programme to be recorded, which shows a red dot.
    void SetRecordedOf(std::function<bool(int entry)> recordedOf);
    void RepaintResults();

signals:
    void EntryChosen(int entry);
    // The context menu (or the key R: remind) was asked for on a result.
    void MenuRequested(int entry, const QPoint& globalPos);
    void RemindRequested(int entry);
    void QueryChanged(const QString& query);
    void CurrentEntryChanged(int entry);
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Install(SearchEntries newEntries, ChannelSearch index);
    void Run();
    void ShowNoResult();
    void Move(int step);
    void ChooseCurrent();

    SearchEntries entries;
    SearchEntries more;
    std::vector<int> channelResults; // of the query in the field
    ChannelSearch search;
    SearchResultModel* model = nullptr;
    QLineEdit* field = nullptr;
    QListView* list = nullptr;
    ChannelItemDelegate* delegate = nullptr;
    QPixmap blank; // the room of a logo, for results without one
    QLabel* noResult = nullptr;
    bool open = false;
    int indexing = 0; // lists given to the worker and not yet back
    BackgroundWork worker{this};
};
