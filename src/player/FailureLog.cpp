#include "FailureLog.h"

#include <mpv/client.h>

#include <QByteArray>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {
// FFmpeg's HTTP client gives up after this many redirects in a row.
constexpr int kEngineMaxRedirects = 8;

bool StartsWith(const char* text, const char* start)
{
    return std::strncmp(text, start, std::strlen(start)) == 0;
}

bool IsRedirect(int code)
{
    return code == 301 || code == 302 || code == 303 || code == 307 || code == 308;
}

bool IsProblem(const char* level)
{
    return std::strcmp(level, "error") == 0 || std::strcmp(level, "warn") == 0 ||
           std::strcmp(level, "fatal") == 0;
}

// FFmpeg ends a failed connection's line with the system's text for the error, in the
// language of the process's locale: compared with that same text.
bool EndsWithError(const char* text, int error)
{
    return QByteArray(text).trimmed().endsWith(QByteArray(": ") + std::strerror(error));
}

int CodeAfter(const char* text, const char* start)
{
    return StartsWith(text, start) ? std::atoi(text + std::strlen(start)) : 0;
}
} // namespace

void FailureLog::Clear()
{
    *this = FailureLog();
}

void FailureLog::Add(const char* prefix, const char* level, const char* text)
{
    if (!StartsWith(prefix, "ffmpeg"))
        return;
    int code = CodeAfter(text, "http: http_code=");
    if (code == 0)
        code = CodeAfter(text, "http: HTTP error ");
    if (code != 0) {
        if (IsRedirect(code))
            ++redirects;
        else
            httpCode = code;
        return;
    }
    if (!IsProblem(level))
        return;
    if (StartsWith(text, "tls: "))
        tlsFailed = true;
    else if (StartsWith(text, "tcp: Failed to resolve hostname"))
        hostNotFound = true;
    else if (StartsWith(text, "tcp: ") && EndsWithError(text, ECONNREFUSED))
        refused = true;
    else if (StartsWith(text, "tcp: "))
        noAnswer = true;
}

UnavailableReason FailureLog::Reason(int endFileError) const
{
    if (tlsFailed)
        return UnavailableReason::TlsFailed;
    if (redirects >= kEngineMaxRedirects)
        return UnavailableReason::TooManyRedirects;
    switch (httpCode) {
    case 404:
    case 410:
        return UnavailableReason::NotFound;
    case 401:
    case 403:
    case 451:
        return UnavailableReason::Forbidden;
    default:
        break;
    }
    if (httpCode >= 500)
        return UnavailableReason::ServerError;
    if (hostNotFound)
        return UnavailableReason::HostNotFound;
    if (refused)
        return UnavailableReason::Refused;
    if (noAnswer)
        return UnavailableReason::NoAnswer;
    if (endFileError == MPV_ERROR_UNKNOWN_FORMAT || endFileError == MPV_ERROR_NOTHING_TO_PLAY)
        return UnavailableReason::NotAStream;
    return UnavailableReason::None;
}

bool FailureLog::Passing(UnavailableReason reason)
{
    return reason == UnavailableReason::ServerError || reason == UnavailableReason::NoAnswer;
}
