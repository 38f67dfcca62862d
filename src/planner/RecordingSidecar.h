#pragma once
// The small XML file beside a recording: the programme as the guide gave it, for whatever
// reads the folder later.

#include "PlannedTypes.h"

namespace RecordingSidecar {
// recording's path with .xml for .ts.
QString PathOf(const QString& recording);
// False, with the reason in problem, when it cannot be written.
bool Write(const QString& recording, const QString& channelName, const ProgrammeFacts& programme, QString* problem = nullptr);
} // namespace RecordingSidecar
