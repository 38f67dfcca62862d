#pragma once
// Privacy.xml beside the other files: the hidden and locked places and the PIN's digest.
// The playlists' and favourites' files never learn of them.
//
//   <Privacy>
//       <Pin salt="9f0c..." key="41ab..." rounds="60000" />
//       <Hidden playlist="Provider" group="Sports" channel="" />
//       <Locked playlist="Provider" group="Adult" channel="" />
//       <Hidden section="4" />              a built-in genre or country, or "countries"
//       <Hidden section="13" position="2" /> one built-in channel
//   </Privacy>

#include "PrivacyMarks.h"

#include <QString>

// A missing or unreadable file reads as nothing hidden, nothing locked, no PIN.
PrivacyMarks LoadPrivacyMarks(const QString& path);
// Written atomically, readable by the viewer alone; false with reason on failure.
bool SavePrivacyMarks(const QString& path, const PrivacyMarks& marks, QString* reason = nullptr);
