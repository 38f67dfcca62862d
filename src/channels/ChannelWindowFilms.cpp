// The channel window's films: the continue tab, the watched marks and the poster.

#include "ChannelWindow.h"

#include "ChannelButtons.h"
#include "CommandId.h"
#include "ChannelDirectory.h"
#include "ChannelTree.h"
#include "ClockText.h"
#include "ContinueList.h"
#include "FilmPlaces.h"
#include "FilmsTexts.h"
#include "LogoCache.h"
#include "NextReminder.h"
#include "SearchController.h"
#include "SearchPanel.h"
#include "WinApp.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabBar>
#include <QTreeWidget>

namespace {
const QString kWatchedSign = QStringLiteral("\u2713 ");
constexpr int kPosterHeight = 66; // the description box's height, nearly
} // namespace

void ChannelWindow::ShowWatchedMarks()
{
    const auto markOf = [this](const ChannelKey& key) {
        return places->Watched(FilmKeyOf(directory.RequestOf(key, {}))) ? kWatchedSign + texts.Text(Films, FilmsWatched)
                                                                       : QString();
    };
    tree->ShowMarks(markOf);
    search->ShowMarks(markOf);
}

void ChannelWindow::ShowFilmPlaces()
{
    if (!created || continueList == nullptr)
        return;
    CatchInvalidArgument([this] {
        const bool any = continueList->Refill();
        if (any && tabs->count() == kTabContinue) {
            // An icon alone: the two tabs before it keep their whole names in a narrow window.
            tabs->addTab(style()->standardIcon(QStyle::SP_MediaPlay), QString());
            NameContinueTab();
        }
        else if (!any && tabs->count() > kTabContinue)
            tabs->removeTab(kTabContinue); // the tree's tab is shown when it was the current one
        if (tabs->currentIndex() == kTabContinue)
            OnContinueSelectionChanged();
        tree->Widget()->viewport()->update();
        search->Panel()->RepaintResults();
    });
}

void ChannelWindow::NameContinueTab()
{
    if (tabs->count() <= kTabContinue)
        return;
    const QString& name = texts.Text(Films, FilmsContinueTab);
    tabs->setTabToolTip(kTabContinue, name);
    tabs->setAccessibleTabName(kTabContinue, name);
}

void ChannelWindow::OnContinueSelectionChanged()
{
    const FilmPlace* place = continueList->Selected();
    nextReminder->Describe({});
    ShowPoster(place != nullptr ? place->poster : QString());
    buttons->Enable(ID_CHANNEL_PLAY, place != nullptr);
    if (place != nullptr)
        description->setPlainText(continueList->DescriptionOf(*place));
    else
        description->clear();
}

// A film's poster, and its length once played.
void ChannelWindow::ShowFilmDetails(const ChannelKey& key)
{
    const ChannelRequest request = key.IsOwn() && places != nullptr ? directory.RequestOf(key, {}) : ChannelRequest();
    const FilmPlace* kept = request.IsEmpty() ? nullptr : places->Find(FilmKeyOf(request));
    if (kept != nullptr && kept->length > 0)
        description->appendPlainText(texts.Text(Films, FilmsLength).arg(ClockText(kept->length)));
    ShowPoster(!request.IsEmpty() && LooksLikeFilm(request) ? directory.PosterAddressOf(key) : QString());
}

void ChannelWindow::ShowPoster(const QString& address)
{
    posterAddress = address;
    const QPixmap picture = logos != nullptr && !address.isEmpty() ? logos->Logo(address, kPosterHeight) : QPixmap();
    const bool wasShown = poster->isVisible();
    poster->setPixmap(picture);
    poster->setVisible(!picture.isNull());
    if (wasShown || poster->isVisible())
        LayoutControls(width(), height());
}
