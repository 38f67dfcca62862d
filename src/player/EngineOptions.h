#pragma once
// The engine's options for live television, set before it initialises.

struct mpv_handle;

// The engine's safe automatic hardware decoding, as this machine's drivers allow it.
const char* SafeHardwareDecoding();
void SetEngineOptions(mpv_handle* handle, bool withVideo, const char* hardwareDecoding, int networkTimeoutSeconds);
