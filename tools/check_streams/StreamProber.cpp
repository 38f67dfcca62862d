#include "StreamProber.h"

#include "PlaybackProbe.h"
#include "StreamProbe.h"

#include <QUrl>

#include <algorithm>

StreamProber::StreamProber(const QStringList& addresses, const Options& options, QObject* parent)
    : QObject(parent), addresses(addresses), options(options)
{
}

void StreamProber::Start()
{
    if (addresses.isEmpty()) {
        emit Finished();
        return;
    }
    const int jobs = std::max(options.jobs, 1);
    // Each StartNext may finish at once (an address that is not HTTP), starting the next.
    while (!stopped && running < jobs && next < addresses.size())
        StartNext();
}

void StreamProber::Stop()
{
    stopped = true;
    // The probes are our children: deleting them hangs up their connections.
    const auto probes = findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly);
    qDeleteAll(probes);
    awaitingPlayback.clear();
    running = 0;
}

void StreamProber::StartNext()
{
    const QString address = addresses[next++];
    ++running;
    auto* probe = new StreamProbe(QUrl(address), options.timeout, this);
    connect(probe, &StreamProbe::Finished, this,
            [this, probe, address] { OnStreamProbed(probe, address); });
    probe->Start();
}

void StreamProber::OnStreamProbed(StreamProbe* probe, const QString& address)
{
    const ProbeResult result = probe->Result();
    probe->deleteLater();
    if (!options.deep || result.status != ProbeStatus::Ok) {
        Complete(address, result);
        return;
    }
    awaitingPlayback.insert(address, result);
    auto* playback = new PlaybackProbe(QUrl(address), options.timeout, this);
    connect(playback, &PlaybackProbe::Finished, this,
            [this, playback, address] { OnPlaybackProbed(playback, address); });
    playback->Start();
}

void StreamProber::OnPlaybackProbed(PlaybackProbe* probe, const QString& address)
{
    ProbeResult result = awaitingPlayback.take(address);
    probe->deleteLater();
    result.deepChecked = true;
    result.firstFrameMs = probe->FirstFrameMs();
    if (!probe->Played()) {
        result.status = ProbeStatus::Unavailable;
        result.reason = probe->TimedOut() ? UnavailableReason::NoAnswer : UnavailableReason::NotAStream;
        result.detail = QStringLiteral("the player showed nothing: ") + probe->Error();
    }
    Complete(address, result);
}

void StreamProber::Complete(const QString& address, const ProbeResult& result)
{
    results.insert(address, result);
    --running;
    emit Progress(static_cast<int>(results.size()), static_cast<int>(addresses.size()));
    if (stopped)
        return;
    if (next < addresses.size())
        StartNext();
    else if (running == 0)
        emit Finished();
}
