#include "CChannelDlg.h"

#include "AccessTexts.h"
#include "ChannelIcons.h"
#include "ChannelItemDelegate.h"
#include "ChannelTreeLayout.h"
#include "DialogUnits.h"
#include "DroppedPlaylists.h"
#include "GuidanceTexts.h"
#include "GuideChannelFeed.h"
#include "GuideChannels.h"
#include "GuideLibrary.h"
#include "GuideTexts.h"
#include "GuideTree.h"
#include "GuideWording.h"
#include "InvalidArgument.h"
#include "LogoCache.h"
#include "MessageBox.h"
#include "PlaylistLibrary.h"
#include "PlaylistTexts.h"
#include "ProgrammeSearch.h"
#include "PlaylistTree.h"
#include "PluralForms.h"
#include "SourceNames.h"
#include "SearchNameFeed.h"
#include "SearchPanel.h"
#include "TimeshiftTexts.h"
#include "StreamTable.h"
#include "WinApp.h"
#include "WindowGeometry.h"
#include "WindowMessage.h"

#include <QDateTime>
#include <QHash>
#include <QHeaderView>
#include <QInputDialog>
#include <QMenu>
#include <QUrl>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>

#include <algorithm>
#include <optional>

namespace {
// Window size and control rectangles (left, top, width, height) in dialog units.
constexpr QSize kTemplateSize(141, 236);
constexpr QRect kTabsRect(7, 6, 127, 18);
constexpr QRect kTreeRect(7, 26, 127, 64);
constexpr QRect kListRect(7, 95, 127, 57);
constexpr QRect kDescriptionRect(7, 158, 127, 48);

constexpr QSize kToolbarCreateSize(32, 32);
constexpr int kToolbarHeight = 30;
constexpr int kTabItemHeight = 20;
constexpr int kFavoritesListColumnWidth = 100;
constexpr int kMaxFavoriteNameLength = 1023;

// The fixed groups at the top level: the countries node and the genres.
constexpr int kFixedTopLevelCount = 1 + static_cast<int>(kGenreOrder.size());

constexpr int kTabTree = 0;
constexpr int kTabFavorites = 1;

// ChannelsDialog entries.
constexpr int kCaptionText = 0;
constexpr int kTreeTabText = 1;
constexpr int kFavoritesTabText = 2;
constexpr int kPlayText = 3;
constexpr int kPlayTip = 4;
constexpr int kFirstFavoritesTip = 5;
constexpr int kFavoritesButtonCount = 4;

// Program icons.
constexpr int kTreeTabIcon = 129;
constexpr int kFavoritesTabIcon = 130;
constexpr int kPlayIcon = 131;
constexpr int kFirstFavoritesIcon = 132;

constexpr QSize kSmallIcon(16, 16);
constexpr int kOnAirTickMs = 30 * 1000; // how far along the programme on now is
constexpr QSize kToolIcon(24, 24);

ChannelId itemId(const QTreeWidgetItem* item)
{
    return item->data(0, Qt::UserRole).toUInt();
}

ChannelKey itemKey(const QTreeWidgetItem* item)
{
    const ChannelKey own = PlaylistTree::KeyOf(item);
    return own.IsOwn() ? own : ChannelKey{itemId(item)};
}

bool isChannelItem(const QTreeWidgetItem* item)
{
    const ChannelKey key = itemKey(item);
    return key.id != 0 || key.IsOwn();
}

// The channels among the children of parent (or the top level) in tree order.
std::vector<ChannelKey> channelsUnder(const QTreeWidget* tree, const QTreeWidgetItem* parent)
{
    const int count = parent != nullptr ? parent->childCount() : tree->topLevelItemCount();
    std::vector<ChannelKey> keys;
    for (int k = 0; k < count; ++k) {
        const QTreeWidgetItem* child = parent != nullptr ? parent->child(k) : tree->topLevelItem(k);
        if (isChannelItem(child))
            keys.push_back(itemKey(child));
    }
    return keys;
}

int itemImage(const QTreeWidgetItem* item)
{
    return item->data(0, CChannelDlg::ImageIndexRole).toInt();
}

// Refills a view with its redrawing and notifications off; both come back even when the
// refill stops half way, so the view never stays frozen.
template <class Fill>
void refillQuietly(QTreeWidget* view, Fill fill)
{
    const QSignalBlocker blocker(view);
    view->setUpdatesEnabled(false);
    try {
        view->clear();
        fill();
    } catch (...) {
        view->setUpdatesEnabled(true);
        throw;
    }
    view->setUpdatesEnabled(true);
}

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

template <class List>
void checkedRemove(List& list, qsizetype i)
{
    CheckedAt(list, i);
    list.removeAt(i);
}

template <class List>
void checkedSwap(List& list, qsizetype i, qsizetype j)
{
    CheckedAt(list, i);
    CheckedAt(list, j);
    list.swapItemsAt(i, j);
}
} // namespace

CChannelDlg::CChannelDlg(const LanguageStrings& strings, const ChannelLists& names,
                         const ChannelLists& descriptions, const std::vector<Playlist>& playlists)
    : QDialog(nullptr), languageStrings(strings), channelNames(names), channelDescriptions(descriptions),
      playlists(playlists)
{
}

bool CChannelDlg::Create(QWidget* owner)
{
    if (tabs != nullptr)
        return false;
    setParent(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CreateTemplateControls();
    InstallLogos();
    setAcceptDrops(true);
    resize(CDialogUnits(font()).ToPixels(kTemplateSize));
    // The set-up is this window's own handler: a missing text ends it, not the caller's.
    try {
        OnInitDialog();
    } catch (const CInvalidArgException&) {
        CWinApp::ReportInvalidArgument();
    }
    return true;
}

void CChannelDlg::CreateTemplateControls()
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
    connect(tabs, &QTabBar::currentChanged, this, [this](int tab) { CatchInvalidArgument([&] { OnTabChanged(tab); }); });

    channelTree = new QTreeWidget(this);
    channelTree->setObjectName(QStringLiteral("channelTree"));
    channelTree->setGeometry(units.ToPixels(kTreeRect));
    channelTree->setColumnCount(1);
    channelTree->setHeaderHidden(true);
    channelTree->header()->setStretchLastSection(false);
    channelTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    channelTree->setItemDelegate(new ChannelItemDelegate(channelTree));
    connect(channelTree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current) { CatchInvalidArgument([&] { OnTreeSelChanged(current); }); });
    connect(channelTree, &QTreeWidget::itemDoubleClicked, this, [this] { PlayFromTree(); });
    channelTree->installEventFilter(this);
    channelTree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(channelTree, &QTreeWidget::customContextMenuRequested, this, &CChannelDlg::OnTreeContextMenu);

    favoritesList = new QTreeWidget(this);
    favoritesList->setObjectName(QStringLiteral("favoritesList"));
    favoritesList->setGeometry(units.ToPixels(kListRect));
    favoritesList->setColumnCount(1);
    favoritesList->setHeaderHidden(true);
    favoritesList->header()->setStretchLastSection(false);
    favoritesList->setRootIsDecorated(false);
    favoritesList->setItemsExpandable(false);
    favoritesList->setSelectionMode(QAbstractItemView::SingleSelection);
    favoritesList->setItemDelegate(new ChannelItemDelegate(favoritesList));
    favoritesList->hide();
    favoritesList->installEventFilter(this);
    connect(favoritesList, &QTreeWidget::itemSelectionChanged, this,
            [this] { CatchInvalidArgument([this] { OnFavoriteItemChanged(); }); });
    connect(favoritesList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { PlayFromFavorite(item); });

    description = new QPlainTextEdit(this);
    description->setObjectName(QStringLiteral("description"));
    description->setGeometry(units.ToPixels(kDescriptionRect));
    description->setReadOnly(true);
    description->setTabChangesFocus(true);

    CreateSearch();
}

void CChannelDlg::CreateSearch()
{
    searchPanel = new SearchPanel(this);
    searchNames = new SearchNameFeed(playlists, this);
    connect(searchPanel, &SearchPanel::EntryChosen, this, &CChannelDlg::PlayFromSearch);
    connect(searchPanel, &SearchPanel::CurrentEntryChanged, this, &CChannelDlg::OnSearchEntryChanged);
    connect(searchPanel, &SearchPanel::Closed, this, &CChannelDlg::OnSearchClosed);
}

void CChannelDlg::OnInitDialog()
{
    setWindowTitle(Text(kCaptionText));
    InitControls();
    NameControls();
    FillChannelTree();
    AppendPlaylists();
    FillFavoritesList();
    FillSearchNames();
    description->clear();
}

void CChannelDlg::NameControls()
{
    const QStringList& access = languageStrings[Access];
    channelTree->setAccessibleName(tabs->tabText(kTabTree));
    favoritesList->setAccessibleName(tabs->tabText(kTabFavorites));
    description->setAccessibleName(access.value(AccessDescription));
    for (QToolButton* button : buttons) {
        if (button != nullptr && button->text().isEmpty())
            button->setAccessibleName(button->toolTip());
    }
    searchPanel->SetTexts(PlaylistText(PlaylistSearchPlaceholder), access.value(AccessSearchResults),
                          access.value(AccessNoChannelFound));
}

void CChannelDlg::InitControls()
{
    tabImages = {LoadWindowIcon(kTreeTabIcon), LoadWindowIcon(kFavoritesTabIcon)};
    tabs->setIconSize(kSmallIcon);
    {
        const QSignalBlocker blocker(tabs);
        tabs->addTab(tabImages.value(0), Text(kTreeTabText));
        tabs->addTab(tabImages.value(1), Text(kFavoritesTabText));
    }
    tabs->setStyleSheet(QStringLiteral("QTabBar::tab { height: %1px; }").arg(kTabItemHeight));

    playImages = {LoadWindowIcon(kPlayIcon)};
    CreatePlayBar(true);
    CreateFavoritesBar();
    OrderTabStops();

    channelImages = LoadChannelImages();
    playlistTree = new PlaylistTree(channelTree, channelImages, playlistLibrary);
    if (guideLibrary != nullptr) {
        guideTree = new GuideTree(channelTree, channelImages.value(kFurtherChannelsImage), languageStrings, *guideLibrary);
        connect(guideTree, &GuideTree::AddGuideRequested, this, &CChannelDlg::AddGuideRequested);
        connect(guideLibrary, &GuideLibrary::Changed, this, &CChannelDlg::ShowOnAirAgain);
        programmeSearch = new ProgrammeSearch(this);
        searchFeed = new GuideChannelFeed(channelNames, playlists, this);
        connect(searchPanel, &SearchPanel::QueryChanged, programmeSearch, &ProgrammeSearch::Find);
        connect(programmeSearch, &ProgrammeSearch::Found, this, &CChannelDlg::OnProgrammesFound);
        connect(guideLibrary, &GuideLibrary::Changed, this, &CChannelDlg::SetSearchChannels);
        onAirTick.setInterval(kOnAirTickMs);
        connect(&onAirTick, &QTimer::timeout, this, &CChannelDlg::ShowOnAirAgain);
        onAirTick.start();
    }
    channelTree->setIconSize(kSmallIcon);
    favoritesList->setIconSize(kSmallIcon);

    favoritesList->setColumnWidth(0, kFavoritesListColumnWidth);
    favoritesList->setSelectionBehavior(QAbstractItemView::SelectRows);
    favoritesList->setAllColumnsShowFocus(true);
}

void CChannelDlg::OrderTabStops()
{
    // As the controls are placed: the lists, the description, then the buttons from the left.
    std::vector<QWidget*> order{tabs, channelTree, favoritesList, description};
    for (int k = 1; k <= kFavoritesButtonCount; ++k)
        order.push_back(buttons[k]);
    order.push_back(buttons[0]);
    for (std::size_t k = 1; k < order.size(); ++k)
        setTabOrder(order[k - 1], order[k]);
}

QToolButton* CChannelDlg::CreateToolButton(QWidget* bar, int command, const QIcon& icon)
{
    auto* button = new QToolButton(bar);
    button->setObjectName(QStringLiteral("button%1").arg(command));
    button->setAutoRaise(true);
    // Reached with Tab; a click leaves the focus on the list it acts on.
    button->setFocusPolicy(Qt::TabFocus);
    button->setIconSize(kToolIcon);
    button->setIcon(icon);
    button->setEnabled(false);
    connect(button, &QToolButton::clicked, this, [this, command] { OnCommand(command); });
    buttons[command - ID_CHANNEL_PLAY] = button;
    return button;
}

void CChannelDlg::CreatePlayBar(bool visible)
{
    playBar = new QWidget(this);
    playBar->setObjectName(QStringLiteral("playBar"));
    playBar->setGeometry(QRect(QPoint(0, 0), kToolbarCreateSize));
    playBar->setVisible(visible);
    const QString& text = Text(kPlayText);
    QToolButton* button = CreateToolButton(playBar, ID_CHANNEL_PLAY, playImages.value(0));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setText(text);
    button->resize(button->sizeHint().boundedTo(QSize(QWIDGETSIZE_MAX, kToolbarHeight)));
    button->setToolTip(Text(kPlayTip));
    playButtonWidth = button->width();
}

void CChannelDlg::CreateFavoritesBar()
{
    favoritesBar = new QWidget(this);
    favoritesBar->setObjectName(QStringLiteral("favoritesBar"));
    favoritesBar->setGeometry(QRect(QPoint(0, 0), kToolbarCreateSize));
    favoritesBar->hide();
    for (int k = 0; k < kFavoritesButtonCount; ++k)
        favoritesImages.append(LoadWindowIcon(kFirstFavoritesIcon + k));
    int buttonWidth = 0;
    for (int k = 0; k < kFavoritesButtonCount; ++k) {
        QToolButton* button = CreateToolButton(favoritesBar, ID_FAVORITES_ADD + k, favoritesImages.value(k));
        button->resize(button->sizeHint().boundedTo(QSize(QWIDGETSIZE_MAX, kToolbarHeight)));
        if (k == 0)
            buttonWidth = button->width();
        button->move(k * buttonWidth, 0);
        button->setToolTip(Text(kFirstFavoritesTip + k));
    }
    favoritesBarWidth = kFavoritesButtonCount * buttonWidth;
}

void CChannelDlg::FillFavoritesList()
{
    for (qsizetype i = 0; i < favorites.names.size(); ++i) {
        InsertFavoriteItem(static_cast<int>(i), CheckedAt(favorites.names, i),
                           static_cast<int>(CheckedAt(favorites.icons, i)), CheckedAt(favorites.ids, i));
    }
}

QTreeWidgetItem* CChannelDlg::InsertFavoriteItem(int index, const QString& name, int image, ChannelId id)
{
    auto* item = new QTreeWidgetItem();
    item->setText(0, name);
    item->setIcon(0, channelImages.value(image));
    item->setData(0, ImageIndexRole, image);
    item->setData(0, Qt::UserRole, id);
    favoritesList->insertTopLevelItem(index, item);
    return item;
}

void CChannelDlg::FillChannelTree()
{
    const LanguageStrings& strings = languageStrings;
    std::array<QTreeWidgetItem*, kSectionCount + 1> nodes{};   // by section number
    std::array<QTreeWidgetItem*, kSectionCount + 1> further{}; // by section number

    QTreeWidgetItem* countries = InsertGroupNode(nullptr, strings.Text(Groups, kCountriesLabel), kCountriesImage);
    for (int section : kGenreOrder)
        nodes[section] = InsertGroupNode(nullptr, strings.Text(Groups, section), section);
    for (int section : kCountryOrder) {
        nodes[section] = InsertGroupNode(countries, strings.Text(Countries, section - kFirstCountrySection),
                                         section + kCountryImageOffset);
        if (FurtherChannelsFrom(section) > 0) {
            further[section] = InsertGroupNode(nodes[section], strings.Text(Groups, kFurtherChannelsLabel),
                                               kFurtherChannelsImage);
        }
    }

    for (int section = 1; section <= kSectionCount; ++section) {
        const QStringList& names = CheckedAt(channelNames, section - 1);
        const int furtherFrom = FurtherChannelsFrom(section);
        for (int position : TreePositions(section)) {
            QTreeWidgetItem* parent = furtherFrom > 0 && position >= furtherFrom ? further[section] : nodes[section];
            InsertChannelItem(MakeChannelId(section, position), CheckedAt(names, position), parent);
        }
    }
}

QTreeWidgetItem* CChannelDlg::InsertGroupNode(QTreeWidgetItem* parent, const QString& text, int image)
{
    auto* item = new QTreeWidgetItem();
    item->setText(0, text);
    item->setIcon(0, channelImages.value(image));
    item->setData(0, ImageIndexRole, image);
    item->setData(0, Qt::UserRole, 0u);
    if (parent != nullptr)
        parent->addChild(item);
    else
        channelTree->addTopLevelItem(item);
    return item;
}

void CChannelDlg::InsertChannelItem(ChannelId id, const QString& text, QTreeWidgetItem* parent)
{
    auto* item = new QTreeWidgetItem();
    item->setText(0, text);
    item->setIcon(0, channelImages.value(kChannelImage));
    item->setData(0, ImageIndexRole, kChannelImage);
    item->setData(0, Qt::UserRole, id);
    parent->addChild(item);
}

void CChannelDlg::ApplyLanguage()
{
    if (tabs == nullptr)
        return;
    try {
        setWindowTitle(Text(kCaptionText));
        tabs->setTabText(kTabTree, Text(kTreeTabText));
        tabs->setTabText(kTabFavorites, Text(kFavoritesTabText));

        delete playBar;
        playBar = nullptr;
        buttons[0] = nullptr;
        CreatePlayBar(false);
        for (int k = 0; k < kFavoritesButtonCount; ++k) {
            if (QToolButton* button = buttons[1 + k])
                button->setToolTip(Text(kFirstFavoritesTip + k));
        }
        LayoutToolbars(width(), height());
        playBar->show();
        OrderTabStops();
        NameControls();

        const QTreeWidgetItem* treeItem = channelTree->currentItem();
        const ChannelKey treeKey = treeItem != nullptr ? itemKey(treeItem) : ChannelKey();
        const int favoriteRow = HasSelectedFavorite() ? SelectionMark() : -1;
        refillQuietly(channelTree, [this] {
            FillChannelTree();
            AppendPlaylists();
        });
        refillQuietly(favoritesList, [this] { FillFavoritesList(); });
        FillSearchNames();
        // The rebuilt list has nothing selected, so nothing is there to remove or move.
        for (int command : {ID_FAVORITES_REMOVE, ID_FAVORITES_UP, ID_FAVORITES_DOWN})
            EnableButton(command, false);
        // The description goes on naming the channel it named, in the new texts.
        if (tabs->currentIndex() == kTabFavorites)
            description->setPlainText(favoriteRow >= 0 ? FavoriteDescription(favoriteRow) : QString());
        else
            description->setPlainText(DescriptionOf(treeKey));
    } catch (const CInvalidArgException&) {
        CWinApp::ReportInvalidArgument();
    }
}

void CChannelDlg::DestroyWindow()
{
    windowRect = GetWindowOuterRect(this);
    hide();
}

void CChannelDlg::accept()
{
    hide();
}

void CChannelDlg::reject()
{
    hide();
}

void CChannelDlg::keyPressEvent(QKeyEvent* event)
{
    // A key press rather than a shortcut: the main window's own Ctrl+F may also be in
    // reach here, and two shortcuts on one key would cancel each other.
    if (event->matches(QKeySequence::Find)) {
        OpenSearch();
        return;
    }
    if (event->keyCombination() == QKeyCombination(Qt::CTRL | Qt::Key_G)) {
        emit GuideWindowRequested();
        return;
    }
    // Enter never ends the window: it plays the selection, or presses a focused button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QToolButton*>(focusWidget()))
            button->click();
        else
            OnCommand(ID_CHANNEL_PLAY);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CChannelDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == channelTree || watched == favoritesList))
        return OnViewKey(watched == favoritesList, *static_cast<QKeyEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

bool CChannelDlg::OnViewKey(bool favorites, const QKeyEvent& key)
{
    const bool ctrl = key.modifiers() & Qt::ControlModifier;
    if (favorites && ctrl && (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down)) {
        MoveFavorite(key.key() == Qt::Key_Up ? -1 : +1);
        return true;
    }
    if (favorites && key.key() == Qt::Key_Delete) {
        OnFavoritesRemove();
        return true;
    }
    if (key.key() == Qt::Key_Insert) {
        if (favorites)
            OnFavoritesAdd();
        else if (const QTreeWidgetItem* item = channelTree->currentItem())
            AddToFavorites(itemKey(item));
        return true;
    }
    const bool menuKey = key.key() == Qt::Key_Menu || (key.key() == Qt::Key_F10 && key.modifiers() == Qt::ShiftModifier);
    if (!favorites && menuKey) {
        // Opens over the selected item, where the pointer would have been.
        const QTreeWidgetItem* item = channelTree->currentItem();
        OnTreeContextMenu(item != nullptr ? channelTree->visualItemRect(item).center() : QPoint());
        return true;
    }
    if (!favorites && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)) {
        // On a group, Enter opens or closes it as a double-click does.
        QTreeWidgetItem* item = channelTree->currentItem();
        if (item != nullptr && !isChannelItem(item)) {
            item->setExpanded(!item->isExpanded());
            return true;
        }
    }
    return false;
}

void CChannelDlg::FocusList()
{
    if (tabs == nullptr)
        return;
    if (tabs->currentIndex() == kTabFavorites)
        favoritesList->setFocus();
    else if (searchPanel->IsOpen())
        searchPanel->Open();
    else
        channelTree->setFocus();
}

void CChannelDlg::dragEnterEvent(QDragEnterEvent* event)
{
    if (MayHoldPlaylists(*event->mimeData()))
        event->acceptProposedAction();
}

void CChannelDlg::dropEvent(QDropEvent* event)
{
    const DroppedSources dropped = DroppedPlaylists(*event->mimeData());
    event->acceptProposedAction();
    emit PlaylistsDropped(dropped.playlists, dropped.refused);
}

void CChannelDlg::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls(width(), height());
}

void CChannelDlg::LayoutControls(int cx, int cy)
{
    if (tabs != nullptr)
        moveWindow(tabs, 2, 4, cx - 4, 30);
    if (channelTree != nullptr)
        moveWindow(channelTree, 2, 25, cx - 4, cy - 130);
    if (favoritesList != nullptr) {
        moveWindow(favoritesList, 2, 25, cx - 4, cy - 130);
        // A hidden list gets its resize only when shown, so its viewport may be stale.
        const int client = favoritesList->isVisible() ? favoritesList->viewport()->width()
                                                      : favoritesList->maximumViewportSize().width();
        favoritesList->setColumnWidth(0, std::max(client - 1, 0));
    }
    if (description != nullptr)
        moveWindow(description, 2, cy - 103, cx - 4, 70);
    if (searchPanel != nullptr)
        searchPanel->SetArea(QRect(2, 25, std::max(cx - 4, 0), std::max(cy - 130, 0)));
    LayoutToolbars(cx, cy);
}

void CChannelDlg::LayoutToolbars(int cx, int cy)
{
    if (playBar != nullptr)
        moveWindow(playBar, cx - playButtonWidth - 2, cy - 32, playButtonWidth + 2, kToolbarHeight);
    if (favoritesBar != nullptr)
        moveWindow(favoritesBar, cx - playButtonWidth - favoritesBarWidth - 2, cy - 32, favoritesBarWidth,
                   kToolbarHeight);
}

void CChannelDlg::OnTabChanged(int tab)
{
    if (tab == kTabTree) {
        OnTreeSelChanged(channelTree->currentItem());
        if (favoritesBar != nullptr)
            favoritesBar->hide();
        favoritesList->hide();
        if (searchPanel->IsOpen()) {
            searchPanel->Open(); // back to the search as it was left
            OnSearchEntryChanged(searchPanel->CurrentEntry());
            return;
        }
        channelTree->show();
        channelTree->raise();
        channelTree->setFocus();
    } else if (tab == kTabFavorites) {
        searchPanel->SetShown(false);
        if (HasSelectedFavorite()) {
            EnableButton(ID_CHANNEL_PLAY, true);
            description->setPlainText(FavoriteDescription(SelectionMark()));
        } else {
            EnableButton(ID_CHANNEL_PLAY, false);
            description->clear();
        }
        if (favoritesBar != nullptr)
            favoritesBar->show();
        channelTree->hide();
        favoritesList->show();
        favoritesList->raise();
        favoritesList->setFocus();
        favoritesList->setColumnWidth(0, std::max(favoritesList->viewport()->width() - 1, 0));
    }
}

void CChannelDlg::OnTreeSelChanged(QTreeWidgetItem* item)
{
    if (guideTree != nullptr && GuideTree::Owns(item)) {
        EnableButton(ID_CHANNEL_PLAY, false);
        description->setPlainText(guideTree->DescriptionOf(item));
        return;
    }
    ShowKey(item != nullptr ? itemKey(item) : ChannelKey());
    // An own playlist says how its last load went; its nodes follow every change.
    if (item != nullptr && PlaylistTree::IsPlaylistNode(item)) {
        const QString refresh = RefreshText(playlists[static_cast<std::size_t>(PlaylistTree::PlaylistOf(item))]);
        if (!refresh.isEmpty())
            description->setPlainText(refresh);
    }
}

// Why an unavailable playlist cannot be read; else when it was last loaded, whether that
// went well, and for a downloaded one whose refresh failed, of when the copy in use is.
QString CChannelDlg::RefreshText(const Playlist& playlist) const
{
    if (playlist.unavailable)
        return playlist.lastError;
    const QStringList& guidance = languageStrings[Guidance];
    const QLocale locale(languageStrings[Locale].value(LocaleCode));
    const auto when = [&locale](const QDateTime& at) { return locale.toString(at.toLocalTime(), QLocale::ShortFormat); };
    if (playlist.lastError.isEmpty())
        return playlist.lastRefresh.isValid() ? guidance.value(GuidanceLastRefreshGood).arg(when(playlist.lastRefresh))
                                              : QString();
    QStringList lines;
    // A failure of an earlier run has no time of its own on record.
    lines.append(playlist.lastFailure.isValid()
                     ? guidance.value(GuidanceLastRefreshBad).arg(when(playlist.lastFailure), playlist.lastError)
                     : playlist.lastError);
    if (IsWebAddress(playlist.source) && playlist.lastRefresh.isValid())
        lines.append(guidance.value(GuidanceCopyInUse).arg(when(playlist.lastRefresh)));
    return lines.join(QLatin1Char('\n'));
}

void CChannelDlg::OnFavoriteItemChanged()
{
    const QList<QTreeWidgetItem*> selected = favoritesList->selectedItems();
    const bool any = !selected.isEmpty();
    for (int command : {ID_CHANNEL_PLAY, ID_FAVORITES_REMOVE, ID_FAVORITES_UP, ID_FAVORITES_DOWN})
        EnableButton(command, any);
    if (any)
        description->setPlainText(FavoriteDescription(favoritesList->indexOfTopLevelItem(selected.first())));
    else
        description->clear();
}

void CChannelDlg::OnCommand(int id)
{
    switch (id) {
    case ID_CHANNEL_PLAY:
        if (tabs->currentIndex() == kTabTree && searchPanel->IsOpen())
            PlayFromSearch(searchPanel->CurrentEntry());
        else if (tabs->currentIndex() == kTabTree)
            PlayFromTree();
        else if (HasSelectedFavorite())
            PlayFromFavorite(favoritesList->topLevelItem(SelectionMark()));
        break;
    case ID_FAVORITES_ADD:
        OnFavoritesAdd();
        break;
    case ID_FAVORITES_REMOVE:
        OnFavoritesRemove();
        break;
    case ID_FAVORITES_UP:
        MoveFavorite(-1);
        break;
    case ID_FAVORITES_DOWN:
        MoveFavorite(+1);
        break;
    default:
        break;
    }
}

void CChannelDlg::PlayFromTree()
{
    const QTreeWidgetItem* item = channelTree->currentItem();
    if (item == nullptr || !isChannelItem(item))
        return;
    std::vector<ChannelKey> group = channelsUnder(channelTree, item->parent());
    const auto at = std::find(group.begin(), group.end(), itemKey(item));
    const int position = static_cast<int>(at - group.begin());
    zapList.Set(std::move(group), position);
    const QTreeWidgetItem* parent = item->parent();
    zapOrigin = {ChannelOrigin::List::TreeGroup, parent != nullptr ? parent->text(0) : QString(), position};
    if (itemKey(item).IsOwn()) {
        StartKey(itemKey(item), zapOrigin);
        return;
    }
    Start(BuiltinRequest(itemId(item), item->text(0), parent != nullptr ? itemImage(parent) : 0, zapOrigin));
}

void CChannelDlg::PlayFromFavorite(QTreeWidgetItem* item)
{
    if (item == nullptr)
        return;
    zapFavorite = favoritesList->indexOfTopLevelItem(item);
    zapOrigin = {ChannelOrigin::List::Favourites, tabs->tabText(kTabFavorites), zapFavorite};
    const QString name = item->text(0).left(kMaxFavoriteNameLength);
    const OwnStream stream = FavoriteStream(zapFavorite);
    if (!stream.IsEmpty())
        Start(OwnRequest(stream, name, itemImage(item), zapOrigin));
    else
        Start(BuiltinRequest(itemId(item), name, itemImage(item), zapOrigin));
}

void CChannelDlg::PlayChannel(ChannelId id)
{
    StartKey(ChannelKey{id}, ChannelOrigin());
}

ChannelRequest CChannelDlg::BuiltinRequest(ChannelId id, const QString& name, int icon,
                                           const ChannelOrigin& origin) const
{
    // A hand-edited favourite may name no built-in channel: then there is nothing to start.
    const std::optional<QString> address = id != 0 ? ResolveStreamAddress(id) : std::nullopt;
    if (!address)
        return {};
    ChannelRequest request;
    request.address = *address;
    request.name = name;
    request.origin = origin;
    request.id = id;
    request.icon = icon;
    return request;
}

ChannelRequest CChannelDlg::OwnRequest(const OwnStream& stream, const QString& name, int icon,
                                       const ChannelOrigin& origin) const
{
    ChannelRequest request = RequestFor(stream.address, {stream.userAgent, stream.referrer});
    request.name = name;
    request.origin = origin;
    request.playlist = stream.playlist;
    request.group = stream.group;
    request.icon = icon;
    // A favourite keeps no archive of its own: its playlist's entry tells.
    for (const Playlist& playlist : playlists) {
        if (playlist.name != stream.playlist)
            continue;
        const auto entry = std::find_if(playlist.channels.begin(), playlist.channels.end(),
                                        [&](const PlaylistChannel& channel) { return channel.address == stream.address; });
        if (entry != playlist.channels.end())
            request.catchup = entry->catchup;
    }
    return request;
}

OwnStream CChannelDlg::OwnStreamOf(const ChannelRequest& request)
{
    if (!request.IsOwn())
        return {};
    return {request.address, request.headers.userAgent, request.headers.referrer, request.playlist, request.group};
}

void CChannelDlg::Start(const ChannelRequest& request)
{
    if (request.IsEmpty())
        return;
    current = request;
    EnableButton(ID_FAVORITES_ADD, true);
    SendMessage(parentWidget(), StartChannelMessage{request});
}

void CChannelDlg::OnFavoritesAdd()
{
    AddFavorite(current.id, current.name, current.icon, OwnStreamOf(current));
}

void CChannelDlg::AddToFavorites(const ChannelKey& key)
{
    if (key.IsOwn()) {
        if (OwnChannel(key) != nullptr)
            AddFavorite(0, NameOf(key), kChannelImage, StreamOf(key));
    } else if (key.id != 0) {
        AddFavorite(key.id, NameOf(key), GroupImageOf(SectionNumber(key.id), ChannelPosition(key.id)), OwnStream());
    }
}

void CChannelDlg::AddFavorite(ChannelId id, const QString& name, int icon, const OwnStream& stream)
{
    if (!stream.IsEmpty()) {
        // Own channels all have id 0: they are told apart by their address.
        if (std::any_of(favorites.streams.begin(), favorites.streams.end(),
                        [&stream](const OwnStream& s) { return s.address == stream.address; }))
            return;
    } else if (id == 0 || favorites.ids.contains(id)) {
        return;
    }
    favorites.streams.append(stream);
    favorites.names.append(name);
    favorites.ids.append(id);
    favorites.icons.append(static_cast<quint32>(icon));
    QTreeWidgetItem* item = InsertFavoriteItem(favoritesList->topLevelItemCount(), name, icon, id);
    favoritesList->setCurrentItem(item);
    favoritesList->scrollToItem(item);
}

void CChannelDlg::OnFavoritesRemove()
{
    if (!HasSelectedFavorite())
        return;
    int i = SelectionMark();
    checkedRemove(favorites.names, i);
    checkedRemove(favorites.ids, i);
    checkedRemove(favorites.icons, i);
    checkedRemove(favorites.streams, i);
    delete favoritesList->takeTopLevelItem(i);
    if (i >= favoritesList->topLevelItemCount())
        --i;
    if (i >= 0)
        favoritesList->setCurrentItem(favoritesList->topLevelItem(i));
    else
        OnFavoriteItemChanged(); // the list is empty: nothing left to play, remove or move
}

void CChannelDlg::MoveFavorite(int step)
{
    if (!HasSelectedFavorite())
        return;
    const int i = SelectionMark();
    const int j = i + step;
    if (j < 0 || j >= favoritesList->topLevelItemCount())
        return;
    checkedSwap(favorites.names, i, j);
    checkedSwap(favorites.ids, i, j);
    checkedSwap(favorites.icons, i, j);
    checkedSwap(favorites.streams, i, j);
    QTreeWidgetItem* item = favoritesList->takeTopLevelItem(i);
    favoritesList->insertTopLevelItem(j, item);
    favoritesList->clearSelection();
    favoritesList->setCurrentItem(item);
    favoritesList->scrollToItem(item, QAbstractItemView::EnsureVisible);
}

const QString& CChannelDlg::Text(int index) const
{
    return languageStrings.Text(ChannelsDialog, index);
}

QString CChannelDlg::DescriptionOf(const ChannelKey& key) const
{
    if (key.IsOwn())
        return DescriptionOf(StreamOf(key));
    return key.id != 0 ? DescriptionOf(key.id) : QString();
}

QString CChannelDlg::DescriptionOf(ChannelId id) const
{
    const int section = SectionIndex(id);
    if (section < 0 || section >= kSectionCount)
        return QString(); // a hand-edited favourite naming no section
    return CheckedAt(CheckedAt(channelDescriptions, section), ChannelPosition(id));
}

OwnStream CChannelDlg::FavoriteStream(int row) const
{
    return favorites.streams.value(row);
}

QString CChannelDlg::FavoriteDescription(int row) const
{
    const OwnStream stream = FavoriteStream(row);
    if (!stream.IsEmpty())
        return DescriptionOf(stream);
    return DescriptionOf(itemId(favoritesList->topLevelItem(row)));
}

QString CChannelDlg::DescriptionOf(const OwnStream& stream) const
{
    QStringList lines;
    if (!stream.group.isEmpty())
        lines.append(PlaylistText(PlaylistGroupLine).arg(stream.group));
    if (!stream.playlist.isEmpty())
        lines.append(PlaylistText(PlaylistSourceLine).arg(stream.playlist));
    const QString host = QUrl(stream.address).host();
    if (!host.isEmpty())
        lines.append(PlaylistText(PlaylistServerLine).arg(host));
    return lines.join(QLatin1Char('\n'));
}

void CChannelDlg::ShowKey(const ChannelKey& key)
{
    if (!key.IsOwn()) {
        ShowChannel(key.id);
    } else {
        const OwnStream stream = StreamOf(key);
        EnableButton(ID_CHANNEL_PLAY, !stream.IsEmpty());
        description->setPlainText(DescriptionOf(stream));
    }
    const QString onAir = OnAirText(key);
    if (!onAir.isEmpty())
        description->setPlainText(onAir + description->toPlainText());
}

QString CChannelDlg::OnAirText(const ChannelKey& key) const
{
    if (guideLibrary == nullptr || (key.id == 0 && !key.IsOwn()))
        return {};
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const GuideViewerChannel channel = GuideChannelOf(key, channelNames, playlists);
    return GuideOnAirText(languageStrings, guideLibrary->NowAndNext(channel, now), now);
}

void CChannelDlg::ShowOnAirAgain()
{
    // The guide changed or time went on: the selected channel's now and next follow.
    QTreeWidgetItem* item = channelTree != nullptr ? channelTree->currentItem() : nullptr;
    if (tabs->currentIndex() != kTabTree || item == nullptr || !isChannelItem(item) || searchPanel->IsOpen())
        return;
    const int scrolled = description->verticalScrollBar()->value();
    const QString before = description->toPlainText();
    ShowKey(itemKey(item));
    if (description->toPlainText() == before)
        description->verticalScrollBar()->setValue(scrolled);
}

void CChannelDlg::ShowChannel(ChannelId id)
{
    EnableButton(ID_CHANNEL_PLAY, id != 0);
    if (id != 0)
        description->setPlainText(DescriptionOf(id));
    else
        description->clear();
}

void CChannelDlg::EnableButton(int command, bool enable)
{
    if (QToolButton* button = buttons[command - ID_CHANNEL_PLAY])
        button->setEnabled(enable);
}

bool CChannelDlg::HasSelectedFavorite() const
{
    return !favoritesList->selectedItems().isEmpty();
}

int CChannelDlg::SelectionMark() const
{
    QTreeWidgetItem* current = favoritesList->currentItem();
    if (current == nullptr && HasSelectedFavorite())
        current = favoritesList->selectedItems().first();
    return favoritesList->indexOfTopLevelItem(current);
}

// ---------------------------------------------------------------------------------------
// Search and zapping

void CChannelDlg::FillSearchNames()
{
    // Built-in channels in the order of the tree: the countries, then the genres; each
    // told apart by its group. The own channels follow.
    std::vector<ChannelKey> keys;
    SearchEntries entries;
    const auto addSection = [&](int section, const QString& group) {
        const QStringList& sectionNames = CheckedAt(channelNames, section - 1);
        for (int position : TreePositions(section)) {
            keys.push_back(ChannelKey{MakeChannelId(section, position)});
            entries.names.append(CheckedAt(sectionNames, position));
            entries.numbers.append(QString());
            entries.details.append(group);
        }
    };
    const LanguageStrings& strings = languageStrings;
    for (int section : kCountryOrder)
        addSection(section, strings[Countries].value(section - kFirstCountrySection));
    for (int section : kGenreOrder)
        addSection(section, strings[Groups].value(section));
    searchNames->Start(std::move(entries), std::move(keys), [this](SearchEntries all, std::vector<ChannelKey> allKeys) {
        searchKeys = std::move(allKeys);
        searchChannelCount = searchKeys.size();
        searchPanel->SetEntries(std::move(all));
        SetSearchChannels();
    });
    if (searchNames->IsBusy()) { // a long list: the entries found so far name channels no more
        searchKeys.clear();
        searchChannelCount = 0;
        searchPanel->SetEntries({});
    }
}

void CChannelDlg::SetSearchChannels()
{
    if (programmeSearch == nullptr)
        return;
    searchFeed->Start({searchKeys.begin(), searchKeys.begin() + static_cast<std::ptrdiff_t>(searchChannelCount)},
                      [this](std::vector<GuideViewerChannel> channels) {
                          programmeSearch->SetChannels(std::move(channels), guideLibrary->Matcher(),
                                                       guideLibrary->DatabasePath());
                      });
}

void CChannelDlg::OnProgrammesFound(const QString& query, const std::vector<GuideHit>& hits)
{
    // Their entries follow the channels', each naming the channel it plays on.
    searchKeys.resize(searchChannelCount);
    SearchEntries found;
    for (const GuideHit& hit : hits) {
        if (static_cast<std::size_t>(hit.link) >= searchChannelCount)
            continue; // found among channels since replaced
        const ChannelKey key = searchKeys[static_cast<std::size_t>(hit.link)];
        const GuideProgramme& programme = hit.programme;
        found.names.append(languageStrings.Text(Guide, hit.now ? GuideNowOn : GuideNextOn).arg(programme.title, NameOf(key)));
        found.numbers.append(QString());
        found.details.append(GuideTimeText(programme.start) + QChar(0x2013) +
                             (programme.hasStop ? GuideTimeText(programme.stop) : QString()));
        searchKeys.push_back(key);
    }
    searchPanel->SetMoreResults(query, std::move(found));
}

void CChannelDlg::OpenSearch()
{
    if (tabs == nullptr)
        return;
    show();
    raise();
    activateWindow();
    tabs->setCurrentIndex(kTabTree);
    channelTree->hide();
    searchPanel->Open();
    OnSearchEntryChanged(searchPanel->CurrentEntry());
}

void CChannelDlg::OnSearchClosed()
{
    channelTree->show();
    channelTree->setFocus();
    OnTreeSelChanged(channelTree->currentItem());
}

void CChannelDlg::OnSearchEntryChanged(int entry)
{
    if (!searchPanel->IsOpen())
        return;
    ShowKey(entry >= 0 ? searchKeys[static_cast<std::size_t>(entry)] : ChannelKey());
}

void CChannelDlg::PlayFromSearch(int entry)
{
    if (entry < 0)
        return;
    std::vector<ChannelKey> found;
    found.reserve(searchPanel->Results().size());
    int position = 0;
    for (int result : searchPanel->Results()) {
        if (result == entry)
            position = static_cast<int>(found.size());
        found.push_back(searchKeys[static_cast<std::size_t>(result)]);
    }
    zapList.Set(std::move(found), position);
    zapOrigin = {ChannelOrigin::List::SearchResults, QString(), position};
    StartKey(searchKeys[static_cast<std::size_t>(entry)], zapOrigin);
}

void CChannelDlg::StartKey(const ChannelKey& key, const ChannelOrigin& origin)
{
    Start(RequestOf(key, origin));
}

ChannelRequest CChannelDlg::RequestOf(const ChannelKey& key, const ChannelOrigin& origin) const
{
    if (key.IsOwn()) {
        const PlaylistChannel* channel = OwnChannel(key);
        // The playlist may have changed since the list was made.
        return channel != nullptr ? OwnRequest(StreamOf(key), channel->name, kChannelImage, origin) : ChannelRequest();
    }
    // The name is looked up once the id is known to name a channel.
    ChannelRequest request =
        BuiltinRequest(key.id, QString(), GroupImageOf(SectionNumber(key.id), ChannelPosition(key.id)), origin);
    if (!request.IsEmpty())
        request.name = NameOf(key);
    return request;
}

void CChannelDlg::StartFromGuide(const ChannelKey& key, const ArchiveSpan& span)
{
    const ChannelRequest live = RequestOf(key, ChannelOrigin());
    const ChannelRequest archived = CatchupAddress::Request(live, span, QDateTime::currentDateTimeUtc());
    Start(archived.IsEmpty() ? live : archived);
}

ArchiveSpan CChannelDlg::ArchivedProgrammeOnNow(const ChannelKey& key) const
{
    const PlaylistChannel* channel = OwnChannel(key);
    if (channel == nullptr || guideLibrary == nullptr)
        return {};
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const std::optional<GuideProgramme> onNow =
        guideLibrary->NowAndNext(GuideChannelOf(key, channelNames, playlists), now.toSecsSinceEpoch()).now;
    if (!onNow)
        return {};
    const ArchiveSpan span = ArchiveSpan::Between(onNow->start, onNow->stop);
    return CatchupAddress::Reaches(channel->catchup, span.start, now) ? span : ArchiveSpan();
}

QString CChannelDlg::NameOf(const ChannelKey& key) const
{
    if (const PlaylistChannel* channel = OwnChannel(key))
        return channel->name;
    return CheckedAt(CheckedAt(channelNames, SectionIndex(key.id)), ChannelPosition(key.id));
}

int CChannelDlg::FavoriteRowOfCurrent() const
{
    // The row last played from, while it still holds the current channel: favourites that
    // share one channel would otherwise always lead back to the first of them.
    const OwnStream stream = OwnStreamOf(current);
    if (zapFavorite >= 0 && zapFavorite < favoritesList->topLevelItemCount()) {
        const bool holdsCurrent = stream.IsEmpty() ? favorites.ids.value(zapFavorite) == current.id
                                                   : FavoriteStream(zapFavorite) == stream;
        if (holdsCurrent)
            return zapFavorite;
    }
    const qsizetype row = stream.IsEmpty() ? favorites.ids.indexOf(current.id) : favorites.streams.indexOf(stream);
    return row >= 0 ? static_cast<int>(row) : zapFavorite;
}

bool CChannelDlg::CanZap() const
{
    if (zapOrigin.list == ChannelOrigin::List::Favourites)
        return favoritesList->topLevelItemCount() > 0;
    return zapOrigin.list != ChannelOrigin::List::None && !zapList.IsEmpty();
}

void CChannelDlg::Zap(int step)
{
    if (!CanZap())
        return;
    if (zapOrigin.list != ChannelOrigin::List::Favourites) {
        const ChannelKey key = zapList.Step(step);
        zapOrigin.position = zapList.Position();
        if (zapOrigin.list == ChannelOrigin::List::SearchResults) {
            // The highlighted result follows, while the results still hold the channel.
            const auto entry = std::find(searchKeys.begin(), searchKeys.end(), key);
            if (entry != searchKeys.end())
                searchPanel->SelectEntry(static_cast<int>(entry - searchKeys.begin()));
        }
        StartKey(key, zapOrigin);
        return;
    }
    const int row = ZapList::Wrap(FavoriteRowOfCurrent(), step, favoritesList->topLevelItemCount());
    QTreeWidgetItem* item = favoritesList->topLevelItem(row);
    favoritesList->setCurrentItem(item);
    PlayFromFavorite(item);
}

bool CChannelDlg::PlayNumber(int number)
{
    if (zapOrigin.list == ChannelOrigin::List::Favourites) {
        if (number < 1 || number > favoritesList->topLevelItemCount())
            return false;
        QTreeWidgetItem* item = favoritesList->topLevelItem(number - 1);
        favoritesList->setCurrentItem(item);
        PlayFromFavorite(item);
        return true;
    }
    if (CanZap()) {
        const int position = NumberedPosition(zapList.Keys(), number);
        if (position < 0)
            return false;
        zapList.MoveTo(position);
        zapOrigin.position = position;
        StartKey(zapList.Keys()[static_cast<std::size_t>(position)], zapOrigin);
        return true;
    }
    const QTreeWidgetItem* group = nullptr;
    std::vector<ChannelKey> keys = SelectedGroup(group);
    const int position = NumberedPosition(keys, number);
    if (position < 0)
        return false;
    const ChannelKey key = keys[static_cast<std::size_t>(position)];
    zapList.Set(std::move(keys), position);
    zapOrigin = {ChannelOrigin::List::TreeGroup, group != nullptr ? group->text(0) : QString(), position};
    StartKey(key, zapOrigin);
    return true;
}

std::vector<ChannelKey> CChannelDlg::SelectedGroup(const QTreeWidgetItem*& group)
{
    QTreeWidgetItem* item = channelTree->currentItem();
    if (item == nullptr || (guideTree != nullptr && GuideTree::Owns(item)))
        return {};
    QTreeWidgetItem* parent = isChannelItem(item) ? item->parent() : item;
    if (parent != nullptr)
        parent->setExpanded(true); // a playlist's group reads its channels when first opened
    group = parent;
    return channelsUnder(channelTree, group);
}

// A channel's own number wins over a place in the list that happens to be the same.
int CChannelDlg::NumberedPosition(const std::vector<ChannelKey>& keys, int number) const
{
    int byPlace = -1;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        const PlaylistChannel* channel = OwnChannel(keys[k]);
        bool numeric = false;
        const bool numbered = channel != nullptr && !channel->number.isEmpty();
        if (numbered && channel->number.toInt(&numeric) == number && numeric)
            return static_cast<int>(k);
        if (!numbered && static_cast<int>(k) + 1 == number && byPlace < 0)
            byPlace = static_cast<int>(k);
    }
    return byPlace;
}

// ---------------------------------------------------------------------------------------
// The guide window's lists

namespace {
void AddGuideLists(const QTreeWidgetItem* node, const QString& path, GuideListing& listing)
{
    GuideRowList list{path, {}};
    for (int k = 0; k < node->childCount(); ++k) {
        if (isChannelItem(node->child(k)))
            list.rows.push_back({itemKey(node->child(k)), node->child(k)->text(0)});
    }
    if (!list.rows.empty())
        listing.lists.push_back(std::move(list));
    for (int k = 0; k < node->childCount(); ++k) {
        if (!isChannelItem(node->child(k)))
            AddGuideLists(node->child(k), path + QStringLiteral(" / ") + node->child(k)->text(0), listing);
    }
}
} // namespace

GuideListing CChannelDlg::GuideLists() const
{
    GuideListing listing;
    for (int k = 0; k < channelTree->topLevelItemCount(); ++k) {
        const QTreeWidgetItem* node = channelTree->topLevelItem(k);
        AddGuideLists(node, node->text(0), listing);
    }
    for (GuideRowList& list : listing.lists) {
        for (GuideRow& row : list.rows) {
            if (const PlaylistChannel* channel = OwnChannel(row.key))
                row.catchup = channel->catchup;
        }
    }
    // The group last played from, at the channel played, where the tree still holds it.
    for (int list = 0; list < static_cast<int>(listing.lists.size()); ++list) {
        const GuideRowList& rows = listing.lists[static_cast<std::size_t>(list)];
        if (current.origin.name.isEmpty() || !rows.name.endsWith(current.origin.name))
            continue;
        for (int row = 0; row < static_cast<int>(rows.rows.size()); ++row) {
            if (rows.rows[static_cast<std::size_t>(row)].name == current.name) {
                listing.current = list;
                listing.row = row;
                return listing;
            }
        }
    }
    return listing;
}

// ---------------------------------------------------------------------------------------
// Own playlists

void CChannelDlg::AppendPlaylists()
{
    if (playlistTree != nullptr) {
        // Only loads followed show how far they got.
        const QString progressName = playlistLibrary != nullptr ? languageStrings.Text(Guide, GuideProgress) : QString();
        playlistTree->Append(&playlists, PlaylistText(PlaylistUnavailableNode), progressName,
                             QLocale(languageStrings[Locale].value(LocaleCode)));
    }
    if (guideTree != nullptr)
        guideTree->Append();
}

void CChannelDlg::RefillPlaylists()
{
    if (tabs == nullptr)
        return;
    // The viewer's open nodes and selection outlive the nodes being made again.
    const PlaylistTree::Place place = playlistTree->Save();
    const int scrolled = channelTree->verticalScrollBar()->value();
    {
        const QSignalBlocker blocker(channelTree);
        while (channelTree->topLevelItemCount() > kFixedTopLevelCount)
            delete channelTree->takeTopLevelItem(kFixedTopLevelCount);
        AppendPlaylists();
    }
    playlistTree->Restore(place);
    channelTree->verticalScrollBar()->setValue(scrolled);
    // A playlist just added is shown opened and selected.
    for (const Playlist& playlist : playlists) {
        QTreeWidgetItem* node = place.sources.contains(playlist.source) ? nullptr : playlistTree->NodeOf(playlist.source);
        if (node != nullptr) {
            node->setExpanded(true);
            channelTree->setCurrentItem(node);
            channelTree->scrollToItem(node, QAbstractItemView::PositionAtTop);
        }
    }
    OnTreeSelChanged(channelTree->currentItem());
    FillSearchNames();
}

const PlaylistChannel* CChannelDlg::OwnChannel(const ChannelKey& key) const
{
    if (!key.IsOwn() || static_cast<std::size_t>(key.playlist) >= playlists.size())
        return nullptr;
    const auto& channels = playlists[static_cast<std::size_t>(key.playlist)].channels;
    if (key.entry < 0 || static_cast<std::size_t>(key.entry) >= channels.size())
        return nullptr;
    return &channels[static_cast<std::size_t>(key.entry)];
}

QString CChannelDlg::LogoAddressOf(const ChannelKey& key) const
{
    const PlaylistChannel* channel = OwnChannel(key);
    if (channel == nullptr || !channel->logo.isEmpty() || guideLibrary == nullptr)
        return channel != nullptr ? channel->logo : QString();
    const GuideLink link = guideLibrary->LinkOf(GuideChannelOf(key, channelNames, playlists));
    return guideLibrary->Store().ChannelIcon(link.channel);
}

ChannelKey CChannelDlg::FavoriteKey(int row) const
{
    const OwnStream stream = FavoriteStream(row);
    if (stream.IsEmpty())
        return {};
    // Found again only when the playlists changed under the key last found.
    const QString id = stream.playlist + QLatin1Char('\n') + stream.address;
    const ChannelKey known = favoriteKeys.value(id);
    const PlaylistChannel* channel = OwnChannel(known);
    if (channel != nullptr && channel->address == stream.address
        && playlists[static_cast<std::size_t>(known.playlist)].name == stream.playlist)
        return known;
    const ChannelKey found = FindOwnChannel(playlists, stream.playlist, stream.address);
    favoriteKeys.insert(id, found);
    return found;
}

void CChannelDlg::InstallLogos()
{
    if (logos == nullptr)
        return;
    const auto logoOf = [this](const ChannelKey& key, int height) { return logos->Logo(LogoAddressOf(key), height); };
    static_cast<ChannelItemDelegate*>(channelTree->itemDelegate())
        ->SetLogoOf([this, logoOf](const QModelIndex& index, int height) {
            return logoOf(PlaylistTree::KeyOf(channelTree->itemFromIndex(index)), height);
        });
    static_cast<ChannelItemDelegate*>(favoritesList->itemDelegate())
        ->SetLogoOf([this, logoOf](const QModelIndex& index, int height) {
            return logoOf(FavoriteKey(index.row()), height);
        });
    searchPanel->SetLogoOf(kSmallIcon, [this, logoOf](int entry, int height) {
        const auto at = static_cast<std::size_t>(entry);
        return at < searchKeys.size() ? logoOf(searchKeys[at], height) : QPixmap();
    });
    connect(logos, &LogoCache::Answered, this, [this] {
        channelTree->viewport()->update();
        favoritesList->viewport()->update();
        searchPanel->RepaintResults();
    });
}

OwnStream CChannelDlg::StreamOf(const ChannelKey& key) const
{
    const PlaylistChannel* channel = OwnChannel(key);
    if (channel == nullptr)
        return {};
    return OwnStream{channel->address, channel->userAgent, channel->referrer,
                     playlists[static_cast<std::size_t>(key.playlist)].name, channel->group};
}

bool CChannelDlg::ConfirmRemove(int playlist) const
{
    const Playlist& list = playlists[static_cast<std::size_t>(playlist)];
    QSet<QString> addresses;
    for (const PlaylistChannel& channel : list.channels)
        addresses.insert(channel.address);
    const auto fromIt = std::count_if(favorites.streams.begin(), favorites.streams.end(),
                                      [&](const OwnStream& stream) { return addresses.contains(stream.address); });
    const QStringList& guidance = languageStrings[Guidance];
    QString text = guidance.value(GuidanceRemoveQuestion).arg(list.name);
    if (fromIt > 0) {
        const QString& locale = languageStrings[Locale].value(LocaleCode);
        text += QLatin1Char('\n') + PluralForm(guidance.value(GuidanceFavoritesKept), locale, fromIt).arg(fromIt);
    }
    return MessageBox(const_cast<CChannelDlg*>(this), text, PlaylistText(PlaylistCaption), MB_YESNO | MB_ICONQUESTION)
           == IDYES;
}

const QString& CChannelDlg::PlaylistText(int index) const
{
    return languageStrings.Text(Playlists, index);
}

void CChannelDlg::OnTreeContextMenu(const QPoint& at)
{
    QTreeWidgetItem* item = channelTree->itemAt(at);
    const QPoint globalAt = channelTree->viewport()->mapToGlobal(at);
    if (guideTree != nullptr && GuideTree::Owns(item)) {
        guideTree->ShowMenu(item, globalAt);
        return;
    }
    QMenu menu(this);
    // Taken now: a load that ends while the menu is open takes its node with it.
    const QString source = PlaylistTree::SourceOf(item);
    const auto addCancel = [&] {
        return playlistTree->IsLoading(source) ? menu.addAction(languageStrings.Text(Guide, GuideCancelMenu)) : nullptr;
    };
    if (item == nullptr || !PlaylistTree::IsPlaylistNode(item)) {
        QAction* cancel = addCancel(); // of a playlist being added
        QAction* favorite = nullptr;
        if (item != nullptr && isChannelItem(item))
            favorite = menu.addAction(favoritesImages.value(0), Text(kFirstFavoritesTip));
        QAction* choose = guideTree != nullptr && item != nullptr && isChannelItem(item)
                              ? menu.addAction(languageStrings.Text(Guide, GuideChooseMenu))
                              : nullptr;
        const ArchiveSpan onNow = item != nullptr ? ArchivedProgrammeOnNow(itemKey(item)) : ArchiveSpan();
        QAction* fromStart =
            onNow.start.isValid() ? menu.addAction(languageStrings.Text(Timeshift, TimeshiftFromStartMenu)) : nullptr;
        QAction* add = menu.addAction(PlaylistText(PlaylistAddMenu));
        QAction* addGuide = guideTree != nullptr ? menu.addAction(languageStrings.Text(Guide, GuideAddMenu)) : nullptr;
        QAction* chosen = menu.exec(globalAt);
        if (chosen == nullptr)
            return;
        if (chosen == cancel)
            playlistLibrary->Cancel(source); // offered only while a load is followed
        else if (chosen == favorite)
            AddToFavorites(itemKey(item));
        else if (chosen == add)
            emit AddPlaylistRequested();
        else if (chosen == addGuide)
            emit AddGuideRequested();
        else if (chosen == choose)
            guideTree->ChooseGuideChannel(GuideChannelOf(itemKey(item), channelNames, playlists), item->text(0));
        else if (chosen == fromStart)
            StartFromGuide(itemKey(item), onNow);
        return;
    }
    const int playlist = PlaylistTree::PlaylistOf(item);
    const QString name = playlists[static_cast<std::size_t>(playlist)].name;
    QAction* rename = menu.addAction(PlaylistText(PlaylistRenameMenu));
    QAction* refresh = menu.addAction(PlaylistText(PlaylistRefreshMenu));
    QAction* cancel = addCancel();
    QAction* remove = menu.addAction(PlaylistText(PlaylistRemoveMenu));
    QAction* chosen = menu.exec(globalAt);
    if (chosen == nullptr)
        return;
    if (chosen == cancel) {
        playlistLibrary->Cancel(source);
    } else if (chosen == rename) {
        bool ok = false;
        const QString newName = QInputDialog::getText(this, PlaylistText(PlaylistRenameMenu),
                                                      PlaylistText(PlaylistRenamePrompt), QLineEdit::Normal, name, &ok);
        if (ok && !newName.trimmed().isEmpty())
            emit RenamePlaylistRequested(playlist, newName.trimmed());
    } else if (chosen == refresh) {
        emit RefreshPlaylistRequested(playlist);
    } else if (chosen == remove && ConfirmRemove(playlist)) {
        emit RemovePlaylistRequested(playlist);
    }
}
