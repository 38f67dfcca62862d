#include "ChannelWindow.h"

#include "AccessTexts.h"
#include "ActionTable.h"
#include "ChannelButtons.h"
#include "ChannelDirectory.h"
#include "ChannelIcons.h"
#include "ChannelTree.h"
#include "ChannelTreeLayout.h"
#include "ContinueList.h"
#include "DialogUnits.h"
#include "Favorites.h"
#include "FavoritesList.h"
#include "FilmPlaces.h"
#include "FilmsTexts.h"
#include "LogoCache.h"
#include "InvalidArgument.h"
#include "NextReminder.h"
#include "PlaylistDrops.h"
#include "PrivacyCheck.h"
#include "SearchController.h"
#include "SearchPanel.h"
#include "WinApp.h"
#include "WindowGeometry.h"
#include "Zapper.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTreeWidget>

#include <algorithm>

namespace {
// Window size and control rectangles (left, top, width, height) in dialog units.
constexpr QSize kTemplateSize(141, 236);
constexpr QRect kTabsRect(7, 6, 127, 18);
constexpr QRect kTreeRect(7, 26, 127, 64);
constexpr QRect kListRect(7, 95, 127, 57);
constexpr QRect kDescriptionRect(7, 158, 127, 48);

constexpr int kTabItemHeight = 20;

constexpr int kTabTree = 0;
constexpr int kTabFavorites = 1;
constexpr int kPosterGap = 4;

// ChannelsDialog entries.
constexpr int kCaptionText = 0;
constexpr int kTreeTabText = 1;
constexpr int kFavoritesTabText = 2;

// Program icons.
constexpr int kTreeTabIcon = 129;
constexpr int kFavoritesTabIcon = 130;

constexpr QSize kSmallIcon(16, 16);

// Like the platform's MoveWindow, a size below zero counts as zero.
void moveWindow(QWidget* window, int x, int y, int width, int height)
{
    window->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
}

// The platform's tab control pads a label by 6 pixels on each side, and the window's first
// width was made for that; Qt's styles pad by 12, which cut the English labels there.
class PlatformTabPadding : public QProxyStyle
{
public:
    explicit PlatformTabPadding(QObject* owner)
    {
        setParent(owner);
    }

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return kPadding;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

private:
    static constexpr int kPadding = 2 * 6;
};
} // namespace

ChannelWindow::ChannelWindow(const LanguageStrings& texts, const ChannelDirectory& directory, Favorites& favorites,
                             Zapper& zapper, PlaylistLibrary* playlists, GuideLibrary* guides, LogoCache* logos,
                             FilmPlaces* places)
    : QDialog(nullptr), texts(texts), directory(directory), favorites(favorites), zapper(zapper),
      playlistLibrary(playlists), guideLibrary(guides), logos(logos), places(places)
{
    // Made at once, so that whoever hears from the parts can connect before the window is.
    CreateControls();
    ConnectParts();
    drops = new PlaylistDrops(this);
}

ChannelWindow::~ChannelWindow() = default;

void ChannelWindow::Create(QWidget* owner)
{
    if (created)
        return;
    created = true;
    setParent(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                         | Qt::WindowCloseButtonHint);
    resize(CDialogUnits(font()).ToPixels(kTemplateSize));
    // The set-up is this window's own handler: a missing text ends it, not the caller's.
    CatchInvalidArgument([this] { OnInitDialog(); });
}

void ChannelWindow::CreateControls()
{
    const CDialogUnits units(font());
    tabs = new QTabBar(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->setGeometry(units.ToPixels(kTabsRect));
    tabs->setExpanding(false);
    // A narrow window shortens the tab texts rather than hiding a tab behind scroll arrows.
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideRight);
    tabs->setStyle(new PlatformTabPadding(tabs));

    tree = new ChannelTree(this, texts, directory, favorites, playlistLibrary, guideLibrary);
    tree->Widget()->setGeometry(units.ToPixels(kTreeRect));
    tree->Widget()->installEventFilter(this);

    favoritesList = new FavoritesList(this, favorites, directory, tree->Images());
    favoritesList->Widget()->setGeometry(units.ToPixels(kListRect));
    favoritesList->Widget()->installEventFilter(this);

    description = new QPlainTextEdit(this);
    description->setObjectName(QStringLiteral("description"));
    description->setGeometry(units.ToPixels(kDescriptionRect));
    description->setReadOnly(true);
    description->setTabChangesFocus(true);

    poster = new QLabel(this);
    poster->setObjectName(QStringLiteral("poster"));
    poster->setAlignment(Qt::AlignCenter);
    poster->hide();

    search = new SearchController(this, texts, directory, guideLibrary);
    nextReminder = new NextReminder(description, texts, directory);
    buttons = new ChannelButtons(this, texts);
    if (places != nullptr) {
        continueList = new ContinueList(this, texts, *places);
        continueList->Widget()->setGeometry(units.ToPixels(kListRect));
        ShowWatchedMarks();
    }
    if (logos != nullptr) {
        tree->ShowLogos(*logos);
        favoritesList->ShowLogos(*logos);
        search->ShowLogos(*logos);
        if (continueList != nullptr)
            continueList->ShowLogos(*logos);
        connect(logos, &LogoCache::Answered, this, [this](const QString& address) {
            if (address == posterAddress)
                ShowPoster(address);
        });
    }
}

// Its own children only; what it asks of the rest of the program leaves by its signals.
void ChannelWindow::ConnectParts()
{
    connect(tabs, &QTabBar::currentChanged, this, [this](int tab) { CatchInvalidArgument([&] { OnTabChanged(tab); }); });
    connect(tree, &ChannelTree::CurrentChanged, this,
            [this](QTreeWidgetItem* item) { CatchInvalidArgument([&] { OnTreeSelChanged(item); }); });
    connect(tree, &ChannelTree::Activated, this, [this] { Choose(tree->Choice()); });
    connect(tree, &ChannelTree::FavoriteRequested, this, &ChannelWindow::AddToFavorites);
    connect(tree, &ChannelTree::ChannelChosen, this, &ChannelWindow::ChannelChosen);
    connect(favoritesList, &FavoritesList::SelectionChanged, this,
            [this] { CatchInvalidArgument([this] { OnFavoriteSelectionChanged(); }); });
    connect(favoritesList, &FavoritesList::Activated, this, &ChannelWindow::PlayFromFavorite);
    connect(search, &SearchController::EntryChosen, this, [this](int entry) { Choose(search->Choice(entry)); });
    connect(search, &SearchController::CurrentEntryChanged, this, &ChannelWindow::OnSearchEntryChanged);
    connect(search, &SearchController::Closed, this, [this] {
        tree->Widget()->show();
        tree->Widget()->setFocus();
        OnTreeSelChanged(tree->Widget()->currentItem());
    });
    connect(buttons, &ChannelButtons::Pressed, this, &ChannelWindow::OnCommand);
    connect(search, &SearchController::RemindProgramme, this, &ChannelWindow::RemindProgramme);
    connect(nextReminder, &NextReminder::RemindProgramme, this, &ChannelWindow::RemindProgramme);
    connect(search, &SearchController::RecordProgramme, this, &ChannelWindow::RecordProgramme);
    connect(nextReminder, &NextReminder::RecordProgramme, this, &ChannelWindow::RecordProgramme);
    if (continueList != nullptr) {
        connect(continueList, &ContinueList::SelectionChanged, this,
                [this] { CatchInvalidArgument([this] { OnContinueSelectionChanged(); }); });
        connect(continueList, &ContinueList::Chosen, this, &ChannelWindow::ChannelChosen);
    }
}

void ChannelWindow::OnInitDialog()
{
    setWindowTitle(texts.Text(ChannelsDialog, kCaptionText));
    {
        const QSignalBlocker blocker(tabs);
        tabs->setIconSize(kSmallIcon);
        tabs->addTab(LoadWindowIcon(kTreeTabIcon), texts.Text(ChannelsDialog, kTreeTabText));
        tabs->addTab(LoadWindowIcon(kFavoritesTabIcon), texts.Text(ChannelsDialog, kFavoritesTabText));
    }
    tabs->setStyleSheet(QStringLiteral("QTabBar::tab { height: %1px; }").arg(kTabItemHeight));
    buttons->Create();
    NameControls();
    tree->Fill();
    favoritesList->Refill();
    search->FillNames();
    description->clear();
    ShowFilmPlaces();
}

void ChannelWindow::NameControls()
{
    tree->Widget()->setAccessibleName(tabs->tabText(kTabTree));
    favoritesList->Widget()->setAccessibleName(tabs->tabText(kTabFavorites));
    description->setAccessibleName(texts[Access].value(AccessDescription));
    buttons->NameForAssistiveTechnology();
    search->NameControls();
    // As the controls are placed: the lists, the description, then the buttons from the left.
    std::vector<QWidget*> order{tabs, tree->Widget(), favoritesList->Widget()};
    if (continueList != nullptr) {
        continueList->Widget()->setAccessibleName(texts[Films].value(FilmsContinueTab));
        order.push_back(continueList->Widget());
    }
    order.push_back(description);
    for (QWidget* button : buttons->TabOrder())
        order.push_back(button);
    for (std::size_t k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}


void ChannelWindow::ApplyLanguage()
{
    if (!created)
        return;
    CatchInvalidArgument([this] {
        setWindowTitle(texts.Text(ChannelsDialog, kCaptionText));
        tabs->setTabText(kTabTree, texts.Text(ChannelsDialog, kTreeTabText));
        tabs->setTabText(kTabFavorites, texts.Text(ChannelsDialog, kFavoritesTabText));
        NameContinueTab();

        buttons->ApplyLanguage();
        NameControls();

        const ChannelKey treeKey = tree->CurrentKey();
        const int favoriteRow = favoritesList->SelectedRow();
        tree->FillAgain();
        favoritesList->Refill();
        search->FillNames();
        // The rebuilt list has nothing selected, so nothing is there to remove or move.
        for (int command : {ID_FAVORITES_REMOVE, ID_FAVORITES_UP, ID_FAVORITES_DOWN})
            buttons->Enable(command, false);
        // The description goes on naming the channel it named, in the new texts.
        if (tabs->currentIndex() == kTabFavorites)
            description->setPlainText(favoriteRow >= 0 ? favoritesList->DescriptionOf(favoriteRow) : QString());
        else
            description->setPlainText(directory.DescriptionOf(treeKey));
    });
}

void ChannelWindow::DestroyWindow()
{
    windowRect = GetWindowOuterRect(this);
    hide();
}

void ChannelWindow::accept()
{
    hide();
}

void ChannelWindow::reject()
{
    hide();
}

void ChannelWindow::ShowAndFocus()
{
    show();
    raise();
    activateWindow();
    if (!created)
        return;
    if (tabs->currentIndex() == kTabFavorites)
        favoritesList->Widget()->setFocus();
    else if (search->Panel()->IsOpen())
        search->Panel()->Open();
    else
        tree->Widget()->setFocus();
}

void ChannelWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls(width(), height());
}

void ChannelWindow::LayoutControls(int cx, int cy)
{
    if (!created)
        return;
    moveWindow(tabs, 2, 4, cx - 4, 30);
    moveWindow(tree->Widget(), 2, 25, cx - 4, cy - 130);
    QTreeWidget* list = favoritesList->Widget();
    moveWindow(list, 2, 25, cx - 4, cy - 130);
    // A hidden list gets its resize only when shown, so its viewport may be stale.
    const int client = list->isVisible() ? list->viewport()->width() : list->maximumViewportSize().width();
    list->setColumnWidth(0, std::max(client - 1, 0));
    if (continueList != nullptr)
        moveWindow(continueList->Widget(), 2, 25, cx - 4, cy - 130);
    const int posterWidth = poster->isVisible() ? poster->pixmap().width() + kPosterGap : 0;
    moveWindow(description, 2, cy - 103, cx - 4 - posterWidth, 70);
    moveWindow(poster, cx - 2 - posterWidth + kPosterGap, cy - 103, posterWidth - kPosterGap, 70);
    search->Panel()->SetArea(QRect(2, 25, std::max(cx - 4, 0), std::max(cy - 130, 0)));
    buttons->Layout(cx, cy);
}

void ChannelWindow::OnTabChanged(int tab)
{
    QTreeWidget* list = favoritesList->Widget();
    if (continueList != nullptr)
        continueList->Widget()->setVisible(tab == kTabContinue);
    if (tab == kTabContinue) {
        search->Panel()->SetShown(false);
        buttons->ShowFavoritesBar(false);
        tree->Widget()->hide();
        list->hide();
        continueList->Widget()->raise();
        continueList->Widget()->setFocus();
        OnContinueSelectionChanged();
    } else if (tab == kTabTree) {
        OnTreeSelChanged(tree->Widget()->currentItem());
        buttons->ShowFavoritesBar(false);
        list->hide();
        if (search->Panel()->IsOpen()) {
            search->Panel()->Open(); // back to the search as it was left
            OnSearchEntryChanged(search->Panel()->CurrentEntry());
            return;
        }
        tree->Widget()->show();
        tree->Widget()->raise();
        tree->Widget()->setFocus();
    } else if (tab == kTabFavorites) {
        search->Panel()->SetShown(false);
        OnFavoriteSelectionChanged();
        buttons->ShowFavoritesBar(true);
        tree->Widget()->hide();
        list->show();
        list->raise();
        list->setFocus();
        list->setColumnWidth(0, std::max(list->viewport()->width() - 1, 0));
    }
}

void ChannelWindow::OnTreeSelChanged(QTreeWidgetItem* item)
{
    nextReminder->Describe({});
    bool onGuide = false;
    const QString node = tree->NodeDescription(item, onGuide);
    if (onGuide) {
        buttons->Enable(ID_CHANNEL_PLAY, false);
        description->setPlainText(node);
        ShowPoster(QString());
        return;
    }
    ShowKey(tree->CurrentKey());
    if (!node.isEmpty()) {
        nextReminder->Describe({});
        description->setPlainText(node);
        ShowPoster(tree->NodePoster(item));
    }
}

void ChannelWindow::OnFavoriteSelectionChanged()
{
    const int row = favoritesList->SelectedRow();
    nextReminder->Describe({});
    ShowPoster(QString());
    for (int command : {ID_CHANNEL_PLAY, ID_FAVORITES_REMOVE, ID_FAVORITES_UP, ID_FAVORITES_DOWN})
        buttons->Enable(command, row >= 0);
    if (row >= 0)
        description->setPlainText(favoritesList->DescriptionOf(row));
    else
        description->clear();
}

void ChannelWindow::OnCommand(int id)
{
    switch (id) {
    case ID_CHANNEL_PLAY:
        if (tabs->currentIndex() == kTabTree && search->Panel()->IsOpen())
            Choose(search->Choice(search->Panel()->CurrentEntry()));
        else if (tabs->currentIndex() == kTabTree)
            Choose(tree->Choice());
        else if (tabs->currentIndex() == kTabContinue && continueList->Selected() != nullptr)
            emit ChannelChosen(continueList->Selected()->request);
        else if (favoritesList->HasSelection())
            PlayFromFavorite(favoritesList->SelectedRow());
        break;
    case ID_FAVORITES_ADD:
        emit AddCurrentRequested();
        break;
    case ID_FAVORITES_REMOVE:
        favoritesList->RemoveSelected();
        break;
    case ID_FAVORITES_UP:
        favoritesList->MoveSelected(-1);
        break;
    case ID_FAVORITES_DOWN:
        favoritesList->MoveSelected(+1);
        break;
    default:
        break;
    }
}

void ChannelWindow::Choose(const ListChoice& choice)
{
    if (choice.request.IsEmpty())
        return;
    zapper.Remember(choice.request.origin, choice.list);
    emit ChannelChosen(choice.request);
}

void ChannelWindow::PlayFromFavorite(int row)
{
    if (row < 0)
        return;
    zapper.Remember({ChannelOrigin::List::Favourites, tabs->tabText(kTabFavorites), row});
    const ChannelRequest request = zapper.FavoriteRequest(row);
    if (!request.IsEmpty())
        emit ChannelChosen(request);
}

void ChannelWindow::ChannelStarted()
{
    buttons->Enable(ID_FAVORITES_ADD, true);
}

void ChannelWindow::AddFavoriteOf(const ChannelRequest& request)
{
    favoritesList->Add({request.name, request.id, static_cast<quint32>(request.icon),
                        ChannelDirectory::OwnStreamOf(request)});
}

void ChannelWindow::AddToFavorites(const ChannelKey& key)
{
    if (key.IsOwn()) {
        if (directory.OwnChannel(key) != nullptr)
            favoritesList->Add({directory.NameOf(key), 0, kChannelImage, directory.StreamOf(key)});
    } else if (key.id != 0) {
        const int icon = GroupImageOf(SectionNumber(key.id), ChannelPosition(key.id));
        favoritesList->Add({directory.NameOf(key), key.id, static_cast<quint32>(icon), OwnStream()});
    }
}

void ChannelWindow::SelectFavorite(int row)
{
    favoritesList->Select(row);
}

void ChannelWindow::SelectResult(const ChannelKey& key)
{
    search->SelectChannel(key);
}

void ChannelWindow::RefillPlaylists()
{
    if (!created)
        return;
    tree->RefillPlaylists(ChannelTree::NewPlaylists::Open);
    PlaylistsRefilled();
}

void ChannelWindow::ShowPlaylists()
{
    if (!created)
        return;
    tree->RefillPlaylists(ChannelTree::NewPlaylists::Leave);
    PlaylistsRefilled();
}

void ChannelWindow::PlaylistsRefilled()
{
    OnTreeSelChanged(tree->Widget()->currentItem());
    search->FillNames();
}

void ChannelWindow::SetPrivacy(const PrivacyCheck* check, std::function<bool()> openLocks)
{
    privacy = check;
    tree->SetPrivacy(check, std::move(openLocks));
    search->SetPrivacy(check);
}

void ChannelWindow::ApplyPrivacy()
{
    if (!created)
        return;
    tree->ApplyPrivacy();
    OnTreeSelChanged(tree->Widget()->currentItem());
    search->FillNames();
}

void ChannelWindow::ShowDescriptionAgain()
{
    if (created && tabs->currentIndex() == kTabTree)
        OnTreeSelChanged(tree->Widget()->currentItem());
}

void ChannelWindow::FollowGuide()
{
    ShowOnAirAgain();
    search->MatchProgrammes();
}

void ChannelWindow::ShowOnAirAgain()
{
    if (!created)
        return;
    // The search's selected result follows as the tree's selected channel does.
    const bool searching = search->Panel()->IsOpen();
    if (tabs->currentIndex() != kTabTree || (!searching && !tree->IsChannel(tree->Widget()->currentItem())))
        return;
    const ChannelKey key = searching ? search->KeyOf(search->Panel()->CurrentEntry()) : tree->CurrentKey();
    if (key.id == 0 && !key.IsOwn())
        return;
    const int scrolled = description->verticalScrollBar()->value();
    const QString before = description->toPlainText();
    ShowKey(key);
    if (description->toPlainText() == before)
        description->verticalScrollBar()->setValue(scrolled);
}

void ChannelWindow::OpenSearch()
{
    if (!created)
        return;
    show();
    raise();
    activateWindow();
    tabs->setCurrentIndex(kTabTree);
    tree->Widget()->hide();
    search->Panel()->Open();
    OnSearchEntryChanged(search->Panel()->CurrentEntry());
}

void ChannelWindow::OnSearchEntryChanged(int entry)
{
    if (search->Panel()->IsOpen())
        ShowKey(search->KeyOf(entry));
}

void ChannelWindow::ShowKey(const ChannelKey& key)
{
    nextReminder->Describe(key);
    if (!key.IsOwn()) {
        buttons->Enable(ID_CHANNEL_PLAY, key.id != 0);
        description->setPlainText(directory.DescriptionOf(key));
    } else {
        const OwnStream stream = directory.StreamOf(key);
        buttons->Enable(ID_CHANNEL_PLAY, !stream.IsEmpty());
        description->setPlainText(directory.DescriptionOf(key));
    }
    // A locked channel's programmes are its own business until the PIN is given.
    const QString onAir = privacy != nullptr && privacy->Shut(key) ? QString() : directory.OnAirText(key);
    if (!onAir.isEmpty())
        description->setPlainText(onAir + description->toPlainText());
    ShowFilmDetails(key);
}

