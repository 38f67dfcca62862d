#include "EngineOptions.h"

#include "LogCategories.h"

#include <mpv/client.h>

#include <QByteArray>
#include <QDir>

#include <malloc.h>

#include <algorithm>

namespace {

// Bounded cache and read-ahead: a live channel never needs minutes of it, and a switch
// should not wait for a large buffer to be thrown away.
constexpr const char* kCacheOptions[][2] = {
    {"cache-secs", "20"},
    {"demuxer-max-bytes", "32MiB"},
    {"demuxer-max-back-bytes", "4MiB"},
};

// Live starts and switches. A switch waits for the old channel's demuxer to end; by
// default the engine grants it 100 ms to close gracefully, which a live stream, always
// waiting at its live edge, never does. Ending it at once cut a switch between two local
// HLS channels from 190 to 95 ms (medians of 12, in-process engine, same run).
//
// The audio outputs the engine tries on every start, in its own order but without SDL,
// whose Linux back ends are these same sound systems: where they all fail, SDL's attempt
// failed too and alone cost 100 ms of every start and switch.
constexpr const char* kLiveStartOptions[][2] = {
    {"demuxer-termination-timeout", "0"},
    {"ao", "pipewire,pulse,alsa,jack"},
};

// One heap for every thread of the process, set before any thread starts. The engine
// opens each address on a fresh thread, which otherwise gets an allocator arena of its
// own, grows it with new pages and gives them back, so every start paid some 2,500 page
// faults (60-80 ms on this kind of virtual machine) for the demuxer's 10 MiB probe buffer
// alone. With one arena the freed memory is reused: starts from the stopped state on the
// local HLS stream took 43 instead of 122-207 ms (medians of 10, two rounds, in-process
// engine), and the engine's resident memory while playing fell from 138-145 to 83 MiB.
[[maybe_unused]] const int kOneArena = mallopt(M_ARENA_MAX, 1);

// A fixed bound for blocks mapped on their own. Left to itself, glibc raises the bound
// whenever such a block is freed, and its heap-trimming bound with it, so the freed pages
// of every channel switch stayed in the heap: the whole main window grew by 20-23 MiB over
// 200 switches between two local HLS channels, and by 4 MiB with this. 16 MiB keeps the
// demuxer's probe buffer in the heap, where the next start reuses it.
constexpr int kOwnMappingBytes = 16 * 1024 * 1024;
[[maybe_unused]] const int kFixedMappingBound = mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes);

// FFmpeg re-establishes dropped HTTP reads itself, also on streamed (unseekable) input.
constexpr const char* kReconnectOptions =
    "reconnect=1,reconnect_streamed=1,reconnect_on_network_error=1,reconnect_delay_max=4";

void SetOption(mpv_handle* h, const char* name, const char* value)
{
    const int result = mpv_set_option_string(h, name, value);
    if (result < 0)
        qCWarning(lcPlayer, "engine option %s=%s refused: %s", name, value, mpv_error_string(result));
}
} // namespace

// Hardware decoding where it is safe. The engine's safe set includes VDPAU, and where no
// VDPAU driver is installed (Intel and AMD graphics since Mesa dropped its drivers, virtual
// machines) the VDPAU library prints a line to standard error on every channel start; of
// the safe set, only VA-API can work there anyway.
const char* SafeHardwareDecoding()
{
    const QDir drivers(qEnvironmentVariable("VDPAU_DRIVER_PATH", QStringLiteral(KORVANTA_VDPAU_DRIVER_DIR)));
    const QStringList found = drivers.entryList({QStringLiteral("libvdpau_*.so*")}, QDir::Files);
    const bool vdpau = std::any_of(found.begin(), found.end(), [](const QString& name) {
        return !name.startsWith(QLatin1String("libvdpau_trace")); // a tracing layer, no driver
    });
    return vdpau ? "auto-safe" : "vaapi-copy";
}

void SetEngineOptions(mpv_handle* handle, bool withVideo, const char* hardwareDecoding, int networkTimeoutSeconds)
{
    SetOption(handle, "vo", withVideo ? "libmpv" : "null");
    SetOption(handle, "idle", "yes");
    SetOption(handle, "config", "no");
    SetOption(handle, "terminal", "no");
    SetOption(handle, "input-default-bindings", "no");
    SetOption(handle, "input-vo-keyboard", "no");
    SetOption(handle, "osc", "no");
    SetOption(handle, "ytdl", "no");
    SetOption(handle, "hwdec", hardwareDecoding);
    SetOption(handle, "audio-fallback-to-null", "yes"); // no sound device: still play
    SetOption(handle, "volume-max", "100");
    SetOption(handle, "mute", "no");
    SetOption(handle, "audio-client-name", "korvanta");
    SetOption(handle, "network-timeout", QByteArray::number(networkTimeoutSeconds));
    SetOption(handle, "stream-lavf-o", kReconnectOptions);
    SetOption(handle, "tls-verify", "yes"); // a forged certificate is no channel
    for (const auto& [name, value] : kCacheOptions)
        SetOption(handle, name, value);
    for (const auto& [name, value] : kLiveStartOptions)
        SetOption(handle, name, value);
}
