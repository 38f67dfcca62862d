#include "AccountKeychain.h"

#include "LogCategories.h"

#include <qt6keychain/keychain.h>

namespace {

const QString kService = QStringLiteral("Korvanta provider accounts");

// A missing entry is no failure of the service: the account's password is then asked for.
AccountKeychain::Answer AnswerOf(const QKeychain::Job& job)
{
    AccountKeychain::Answer answer;
    switch (job.error()) {
    case QKeychain::NoError:
    case QKeychain::EntryNotFound: break;
    default:
        answer.serviceAnswered = false;
        answer.reason = job.errorString();
        qCInfo(lcAccounts) << "secret service:" << job.errorString();
    }
    return answer;
}

// Without a parent: the secret service's answer may come after the asker is gone, and the
// job must still be there to take it. It deletes itself once answered.
template <class Job>
Job* MakeJob(const QString& accountKey)
{
    auto* job = new Job(kService);
    job->setAutoDelete(true);
    job->setInsecureFallback(false); // never a plain file instead
    job->setKey(accountKey);
    return job;
}

} // namespace

void AccountKeychain::Read(const QString& accountKey, std::function<void(const Answer&)> answered)
{
    auto* job = MakeJob<QKeychain::ReadPasswordJob>(accountKey);
    connect(job, &QKeychain::Job::finished, this, [answered = std::move(answered)](QKeychain::Job* done) {
        Answer answer = AnswerOf(*done);
        if (done->error() == QKeychain::NoError)
            answer.password = static_cast<QKeychain::ReadPasswordJob*>(done)->textData();
        answered(answer);
    });
    job->start();
}

void AccountKeychain::Write(const QString& accountKey, const QString& password,
                            std::function<void(const Answer&)> answered)
{
    auto* job = MakeJob<QKeychain::WritePasswordJob>(accountKey);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this,
            [answered = std::move(answered)](QKeychain::Job* done) { answered(AnswerOf(*done)); });
    job->start();
}

void AccountKeychain::Remove(const QString& accountKey)
{
    MakeJob<QKeychain::DeletePasswordJob>(accountKey)->start();
}
