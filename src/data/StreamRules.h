#pragma once
// What the address and the header values of a viewer's own channel may hold. Playlists,
// favourites and the player all ask here, so that no way in plays what another refuses.

#include "UnavailableReason.h"

#include <QString>
#include <QStringView>

// The scheme of an absolute address, else empty. One letter is a drive, not a scheme.
QStringView SchemeOf(QStringView address);

// The network protocols a channel may use, in any case.
bool IsStreamScheme(QStringView scheme);
bool IsFileScheme(QStringView scheme);

// The address with its scheme in lower case, as the engine names its protocols; an address
// of any other scheme is returned as it is.
QString WithLowerCaseScheme(QStringView address);

// CR, LF or NUL would end the header they are sent in and start another.
bool IsSafeHeaderValue(QStringView value);

// None when the channel may be played: a stream or a local file, with header values that
// stay within their header. Every other scheme names one of the engine's own sources (a
// filter graph, an edit list, a descriptor), which no channel needs.
UnavailableReason RefusalOf(QStringView address, QStringView userAgent, QStringView referrer);
