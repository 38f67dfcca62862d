#pragma once
// The stream zoo's clock material carries its frame number in every picture, as white
// blocks for the set bits along its top (see stream_zoo.py); reading it tells which moment
// of the stream is on screen.

#include <QImage>

#include <optional>

struct mpv_handle;

constexpr int kClockRate = 25; // pictures a second

// The frame number in a picture of the material at its own size.
int ClockFrame(const QImage& picture);

// The picture the engine shows now, at the video's own size; nullopt without one.
std::optional<QImage> EnginePicture(mpv_handle* engine);
