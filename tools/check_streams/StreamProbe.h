#pragma once
// Fetches one address over HTTP and finds out whether it answers with a stream. For a
// master playlist, its first variant is fetched too: a master whose variants are gone
// plays nothing.

#include "ProbeResult.h"
#include "StreamContent.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>

class StreamProbe : public QObject
{
    Q_OBJECT
public:
    static constexpr int kMaxRedirects = 10;
    static constexpr const char* kUserAgent = "Korvanta-check-streams/1.0";

    StreamProbe(const QUrl& address, std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~StreamProbe() override;

    void Start();
    const ProbeResult& Result() const { return result; }

signals:
    void Finished();

private:
    void Fetch(const QUrl& url);
    void OnReadyRead();
    void OnReplyFinished();
    void OnTimeout();
    void FollowRedirect(const QUrl& target);
    void RecordReply();
    void Conclude(StreamContent::Kind kind);
    void FetchVariant();
    void ConcludeHttpError(int code);
    void ConcludeNetworkError(QNetworkReply::NetworkError code, const QString& message);
    void Unavailable(UnavailableReason reason, const QString& detail);
    void Finish(ProbeStatus status, const QString& detail);
    void DropReply();
    int ReplyHttpCode() const;
    QByteArray ReplyContentType() const;

    // One per probe: a shared one would queue addresses on the same host behind each other
    // (six at a time) while their time limits run.
    QNetworkAccessManager network;
    const QUrl address;
    const std::chrono::milliseconds timeout;
    QElapsedTimer clock;
    QTimer deadline;
    QPointer<QNetworkReply> reply;
    QByteArray body;
    int redirects = 0;
    bool fetchingVariant = false;
    bool done = false;
    ProbeResult result;
};
