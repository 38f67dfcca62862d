#include "AccountClient.h"

#include "AccountAddress.h"
#include "LogCategories.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace {

constexpr int kUnauthorised = 401;
// Panels answer a login beyond the allowed connections with one of these.
bool TooManyConnections(int status)
{
    return status == 458 || status == 509;
}

AccountRefusal RefusalOf(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::NoError: return AccountRefusal::None;
    case QNetworkReply::ConnectionRefusedError: return AccountRefusal::Refused;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: return AccountRefusal::TimedOut;
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError: return AccountRefusal::Unreachable;
    default: return AccountRefusal::NotPanel;
    }
}

} // namespace

AccountClient::AccountClient(QObject* parent) : QObject(parent) {}

void AccountClient::Get(const QUrl& url, Answered answered)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    if (!userAgent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent);
    qCDebug(lcAccounts) << "asking" << AccountAddress::Masked(url.toString());
    QNetworkReply* reply = network.get(request);
    auto tooBig = std::make_shared<bool>(false);
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, tooBig](qint64 received, qint64 declared) {
        if (received > kMaxAnswerBytes || declared > kMaxAnswerBytes) {
            *tooBig = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [reply, tooBig, answered = std::move(answered)] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        AccountRefusal refusal = *tooBig ? AccountRefusal::TooBig : RefusalOf(reply->error());
        if (!*tooBig && TooManyConnections(status))
            refusal = AccountRefusal::TooManyConnections;
        else if (!*tooBig && status == kUnauthorised)
            refusal = AccountRefusal::WrongLogin;
        const QByteArray body = refusal == AccountRefusal::None ? reply->readAll() : QByteArray();
        if (refusal != AccountRefusal::None)
            qCInfo(lcAccounts) << "refused" << AccountAddress::Masked(reply->url().toString()) << int(refusal)
                               << status;
        answered(body, refusal);
    });
}
