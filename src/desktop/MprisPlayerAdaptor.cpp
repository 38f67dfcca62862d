#include "MprisPlayerAdaptor.h"

#include "MprisService.h"

#include <algorithm>
#include <cmath>

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisService* owner) : QDBusAbstractAdaptor(owner), service(*owner) {}

QString MprisPlayerAdaptor::PlaybackStatus() const
{
    return service.Playing() ? QStringLiteral("Playing") : QStringLiteral("Stopped");
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
    Stop();
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
