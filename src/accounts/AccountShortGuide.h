#pragma once
// The panel's short guide of the accounts' live channels, for the status line and the
// description box while an account's own guide has not come. What the panel told is kept
// until the programme on now has ended; nothing is asked twice at once.

#include "AccountClient.h"
#include "AccountTypes.h"
#include "BackgroundWork.h"

#include <QHash>
#include <QString>

#include <functional>
#include <vector>

class AccountShortGuide
{
public:
    // After an answer that told nothing, or one already gone by, the panel is asked again
    // no sooner than this.
    static constexpr qint64 kAskAgainSeconds = 5 * 60;
    static constexpr qint64 kShortestKeepSeconds = 60;

    using Answered = std::function<void(const std::vector<ShortProgramme>&)>;

    // owner: whose thread the answers are read for.
    AccountShortGuide(AccountClient& client, QObject* owner) : client(client), reading(owner) {}

    // answered follows with the stream's programmes from now on: at once when what the panel
    // told is still current, else once it has answered again (with nothing if it failed).
    void Ask(const AccountLogin& login, const QString& source, const QString& streamId, Answered answered);
    // What is known now, without asking.
    std::vector<ShortProgramme> Known(const QString& source, const QString& streamId) const;
    bool IsCurrent(const QString& source, const QString& streamId) const;
    bool IsAsked(const QString& source, const QString& streamId) const;

private:
    struct Told
    {
        std::vector<ShortProgramme> programmes;
        qint64 until = 0; // seconds since 1970: when it is to be asked again
    };

    void Keep(const QString& source, const QString& streamId, std::vector<ShortProgramme> programmes);

    AccountClient& client;
    QHash<QString, Told> told;                       // by source and stream id
    QHash<QString, std::vector<Answered>> waiting;   // the asks under way, by the same key
    BackgroundWork reading;
};
