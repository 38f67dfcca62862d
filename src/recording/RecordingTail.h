#pragma once
// The engine copies what it reads, and it reads ahead of what is shown: by a few seconds at
// the live edge, by all the viewer is behind when watching from the buffer. When a
// recording stops, its last MPEG-TS file is cut where the pictures of those last seconds
// begin, so it ends where the viewer was.

#include <QString>

namespace RecordingTail {
// Cuts the last seconds of path's video (its sound where it has none) by truncating the file
// at the start of the first picture after them; the first picture always stays. False, with
// the file as it was, when it is no MPEG-TS the cut can be made in.
bool Cut(const QString& path, double seconds);
} // namespace RecordingTail
