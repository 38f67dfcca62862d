#pragma once
// Collects what libmpv logs while an address is opened (the HTTP status of every answer,
// redirects, TLS and connection errors) and turns it, with the end-file error, into the
// reason the channel is unavailable. Nothing is fetched a second time to find out.

#include "UnavailableReason.h"

class FailureLog
{
public:
    // The log level to ask libmpv for while an address is being opened: the HTTP status
    // of each answer is logged only at this level.
    static constexpr const char* kOpeningLevel = "trace";
    // Once the stream plays: errors of later requests only.
    static constexpr const char* kPlayingLevel = "warn";

    void Clear();
    void Add(const char* prefix, const char* level, const char* text);

    // endFileError: the error of the end-file event (a libmpv error code, 0 for none).
    UnavailableReason Reason(int endFileError) const;
    // An HTTP answer with a success status came: the address is being read, slowly perhaps.
    bool Answered() const { return httpCode >= 200 && httpCode < 300; }
    // Before any HTTP answer: nothing listens at the port, or the host name is unknown.
    bool Unreachable() const { return httpCode == 0 && (refused || hostNotFound); }
    // A reason that may pass if the address is opened again shortly: a busy server, or one
    // that did not answer in time. A refusal or an unknown host name ends the start at once.
    static bool Passing(UnavailableReason reason);

private:
    int httpCode = 0;   // the last HTTP status that was not a redirect
    int redirects = 0;
    bool tlsFailed = false;
    bool hostNotFound = false;
    bool refused = false;
    bool noAnswer = false;
};
