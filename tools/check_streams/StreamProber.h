#pragma once
// Probes a list of distinct addresses, a bounded number at a time, each within its own
// time limit; with deep checking, an address that answers as a stream is also opened by
// the player.

#include "ProbeResult.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <chrono>

class PlaybackProbe;
class StreamProbe;

class StreamProber : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        int jobs = 8;
        std::chrono::milliseconds timeout{10000};
        bool deep = false;
    };

    StreamProber(const QStringList& addresses, const Options& options, QObject* parent = nullptr);

    void Start();
    // Abandons the probes in flight; their addresses stay without a result.
    void Stop();

    // By address; holds only the addresses whose probe completed.
    const QHash<QString, ProbeResult>& Results() const { return results; }

signals:
    void Progress(int checked, int total);
    void Finished();

private:
    void StartNext();
    void OnStreamProbed(StreamProbe* probe, const QString& address);
    void OnPlaybackProbed(PlaybackProbe* probe, const QString& address);
    void Complete(const QString& address, const ProbeResult& result);

    const QStringList addresses;
    const Options options;
    qsizetype next = 0;
    int running = 0;
    bool stopped = false;
    QHash<QString, ProbeResult> results;
    QHash<QString, ProbeResult> awaitingPlayback;
};
