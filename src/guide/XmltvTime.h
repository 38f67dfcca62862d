#pragma once
// The times of a guide's programmes, as the guide writes them.

#include <QtGlobal>

// "20261208120000 +0100", "20261208120000 BST" and their shorter forms; without a zone,
// UTC. A zone name not known is read as UTC too, and sets *unknownZone. False when
// unreadable.
bool ParseXmltvTime(const char* text, qint64& secondsSinceEpoch, bool* unknownZone = nullptr);
