#pragma once
// The accounts' passwords in the desktop's secret service, and nowhere else on disk. Each
// call answers once, on the owner's thread. When no service answers, the reason says so in
// the service's own words, and nothing is written elsewhere instead.

#include <QObject>
#include <QString>

#include <functional>

class AccountKeychain : public QObject
{
    Q_OBJECT
public:
    struct Answer
    {
        QString password;      // empty when none is kept or none could be read
        bool serviceAnswered = true;
        QString reason;        // why not, where it did not
    };

    explicit AccountKeychain(QObject* parent = nullptr) : QObject(parent) {}

    void Read(const QString& accountKey, std::function<void(const Answer&)> answered);
    void Write(const QString& accountKey, const QString& password, std::function<void(const Answer&)> answered);
    void Remove(const QString& accountKey);
};
