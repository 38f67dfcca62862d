#pragma once
// Asks a panel: one GET at a time per call, its answer capped at kMaxAnswerBytes, given up
// after the timeout. The answer's bytes come back on the owner's thread; reading them is the
// caller's business (on a worker). Addresses are logged with their password hidden.

#include "AccountRefusal.h"

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

#include <functional>

class AccountClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 30 * 1000;
    using Answered = std::function<void(const QByteArray& body, AccountRefusal refusal)>;

    explicit AccountClient(QObject* parent = nullptr);

    void Get(const QUrl& url, Answered answered);
    void SetTimeout(int milliseconds) { timeoutMs = milliseconds; }
    void SetUserAgent(const QString& agent) { userAgent = agent; }

private:
    QNetworkAccessManager network;
    int timeoutMs = kDefaultTimeoutMs;
    QString userAgent;
};
