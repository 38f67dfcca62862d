#pragma once
// What a playlist says about a channel's archive: how its provider builds archive
// addresses, how many days back it reaches, and its own address template if it has one.

#include <QString>
#include <QTimeZone>

enum class CatchupMode {
    None,
    Default,   // the template is the whole archive address
    Append,    // the template is appended to the channel's address
    Shift,     // ?utc=...&lutc=... appended to the channel's address
    Flussonic, // the archive lies beside the channel's playlist, named by start and duration
    Xc,        // /timeshift/user/password/minutes/start/id of the channel's server
};

struct CatchupOffer {
    CatchupMode mode = CatchupMode::None;
    int days = 0;   // 0: the playlist does not say
    QString source; // the address template (catchup-source), empty when none
    QTimeZone zone; // the clock of the template's date fields ({Y}, {H}, ...); invalid: UTC

    bool Offered() const { return mode != CatchupMode::None; }
    bool operator==(const CatchupOffer&) const = default;
};
