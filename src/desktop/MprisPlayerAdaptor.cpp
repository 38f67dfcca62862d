#include "MprisPlayerAdaptor.h"

#include "MprisService.h"

#include <algorithm>
#include <cmath>

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* owner) : QDBusAbstractAdaptor(owner), service(*owner) {}

QString MprisPlayerAdaptor::PlaybackStatus() const
{
    return service.PlaybackStatus();
}

QVariantMap MprisPlayerAdaptor::Metadata() const
{
    return service.Metadata();
}

double MprisPlayerAdaptor::Volume() const
{
    return service.Volume();
}

void MprisPlayerAdaptor::SetVolume(double volume)
{
    if (!std::isfinite(volume))
        return;
    const double clamped = std::clamp(volume, 0.0, 1.0);
    service.Target().SetVolumeFromDesktop(static_cast<int>(std::lround(clamped * MprisService::kMaxVolume)));
}

bool MprisPlayerAdaptor::CanZap() const
{
    return service.CanZap();
}

bool MprisPlayerAdaptor::CanPlay() const
{
    return service.CanPlay();
}

void MprisPlayerAdaptor::Next()
{
    if (service.CanZap())
        service.Target().ZapFromDesktop(+1);
}

void MprisPlayerAdaptor::Previous()
{
    if (service.CanZap())
        service.Target().ZapFromDesktop(-1);
}

void MprisPlayerAdaptor::Pause()
{
    service.Target().PauseFromDesktop();
}

qlonglong MprisPlayerAdaptor::Position() const
{
    return service.Position();
}

bool MprisPlayerAdaptor::CanSeek() const
{
    return service.CanSeek();
}

void MprisPlayerAdaptor::Seek(qlonglong offset)
{
    if (service.CanSeek())
        service.Target().SeekFromDesktop(offset);
}

// A position for another track than the one playing is stale: ignored, as the desktop's
// controls expect.
void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& track, qlonglong position)
{
    const QVariant playing = service.Metadata().value(QStringLiteral("mpris:trackid"));
    if (service.CanSeek() && playing.value<QDBusObjectPath>() == track)
        service.Target().SetPositionFromDesktop(position);
}

void MprisPlayerAdaptor::PlayPause()
{
    service.Target().PlayPauseFromDesktop();
}

void MprisPlayerAdaptor::Stop()
{
    service.Target().StopFromDesktop();
}

void MprisPlayerAdaptor::Play()
{
    service.Target().PlayFromDesktop();
}
