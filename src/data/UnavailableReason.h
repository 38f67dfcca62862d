#pragma once
// Why a channel could not be played, as far as the engine's end of file and its log tell,
// or why it was not even tried. The status line and the stream checker both name it with the StatusReasons texts.

enum class UnavailableReason {
    None,             // no reason known: the status line shows the plain text
    NotFound,         // HTTP 404, 410
    Forbidden,        // HTTP 401, 403, 451: often blocked in the viewer's region
    ServerError,      // HTTP 5xx
    NoAnswer,         // unreachable, timed out
    TlsFailed,        // certificate or handshake
    NotAStream,       // an answer the engine recognises no media in
    TooManyRedirects, // a redirect loop or a chain longer than the engine follows
    NotAllowed,       // not tried: an address of a kind no channel has, or a header value that splits
    Refused,          // nothing listens at the address's port
    HostNotFound,     // the address's host name cannot be resolved
};

constexpr int kUnavailableReasonTexts = 10;

// The entry of the StatusReasons group that names reason; None has none.
constexpr int ReasonTextIndex(UnavailableReason reason)
{
    return static_cast<int>(reason) - 1;
}
