#include "OnAir.h"

#include "CatchupTexts.h"
#include "ChannelDirectory.h"
#include "GuideLibrary.h"
#include "LiveControls.h"
#include "LogoCache.h"

#include <QDateTime>
#include <QUrl>

OnAir::OnAir(const LanguageStrings& texts, const ChannelDirectory& directory, const GuideLibrary& guides,
             const LiveControls& live, LogoCache& logos)
    : texts(texts), directory(directory), guides(guides), live(live), logos(logos)
{
    connect(&tick, &QTimer::timeout, this, [this] {
        Refresh();
        emit Ticked();
    });
}

void OnAir::ShowPlayState(const PlayState& state)
{
    if (state.request == played)
        return;
    played = state.request;
    Look(false);
}

void OnAir::Refresh()
{
    Look(true);
}

void OnAir::LogoArrived(const QString& address)
{
    if (address == logo)
        LookUpArt();
}

void OnAir::Look(bool sameChannel)
{
    LookUpArt();
    // From the archive, the programme is the one of the moment on the picture.
    const qint64 at = played.FromArchive() ? live.WatchedAt(played) : QDateTime::currentSecsSinceEpoch();
    const GuideNowNext onAir = guides.NowAndNext(directory.GuideChannelOf(directory.KeyOf(played)), at);
    const QString now = onAir.now ? onAir.now->title : QString();
    emit DesktopProgrammeChanged(played.FromArchive()
                                     ? texts.Text(Catchup, CatchupProgramme).arg(now.isEmpty() ? played.name : now)
                                     : now);
    if (now == title)
        return;
    title = now;
    if (sameChannel)
        emit TitleChanged();
}

// The desktop's media panel is given the stored file; one not had yet is asked for, and its
// arrival asks here again.
void OnAir::LookUpArt()
{
    logo = directory.LogoAddressOf(directory.KeyOf(played));
    const QString file = logos.StoredFile(logo);
    if (file.isEmpty() && !logo.isEmpty())
        logos.Logo(logo, LogoFolder::kStoredHeight);
    emit ArtChanged(file.isEmpty() ? QString() : QUrl::fromLocalFile(file).toString());
}
