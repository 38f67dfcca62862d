#pragma once
// Where the viewer's playlists and guides come from: a local path or an http(s) address,
// as given, and the name a new one is shown under.

#include <QString>

bool IsWebAddress(const QString& source);
// Neither a web address nor a local path or file: address.
bool IsOtherScheme(const QString& source);
// An address as given, its scheme in lower case; a path (or file: address) made absolute.
QString NormalSource(const QString& source);
// The file name without its extension; an address without one is named after its host.
QString NameForSource(const QString& source);
