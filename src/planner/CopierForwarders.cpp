// The FFmpeg functions the stream copier calls, each forwarding to the libraries opened on
// first use. Linked, they brought a hundred shared libraries into every start before the
// first window; opened late they are mostly there already, loaded with the engine.

#include "LateBound.h"

#include <dlfcn.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
}

#include <array>
#include <type_traits>

namespace {

// The sonames of the versions built against.
#define KORVANTA_SONAME(name, major) "lib" name ".so." AV_STRINGIFY(major)

void* Symbol(const char* name)
{
    static const std::array<void*, 3> libraries = {
        dlopen(KORVANTA_SONAME("avformat", LIBAVFORMAT_VERSION_MAJOR), RTLD_NOW | RTLD_GLOBAL),
        dlopen(KORVANTA_SONAME("avcodec", LIBAVCODEC_VERSION_MAJOR), RTLD_NOW | RTLD_GLOBAL),
        dlopen(KORVANTA_SONAME("avutil", LIBAVUTIL_VERSION_MAJOR), RTLD_NOW | RTLD_GLOBAL),
    };
    for (void* library : libraries) {
        if (void* found = library != nullptr ? dlsym(library, name) : nullptr)
            return found;
    }
    return nullptr;
}

// Without the libraries every call fails as FFmpeg's own calls fail.
template <typename Result>
Result Unavailable()
{
    if constexpr (std::is_same_v<Result, void>)
        return;
    else if constexpr (std::is_pointer_v<Result>)
        return nullptr;
    else
        return Result(AVERROR(ENOSYS));
}

} // namespace


KORVANTA_FORWARD(int, av_dict_set, (AVDictionary * *pm, const char* key, const char* value, int flags), (pm, key, value, flags))
KORVANTA_FORWARD(void, av_dict_free, (AVDictionary * *m), (m))
KORVANTA_FORWARD(int64_t, av_rescale_q, (int64_t a, AVRational bq, AVRational cq), (a, bq, cq))
KORVANTA_FORWARD(int, av_strerror, (int errnum, char* errbuf, size_t errbuf_size), (errnum, errbuf, errbuf_size))
KORVANTA_FORWARD(void, av_log_set_level, (int level), (level))
KORVANTA_FORWARD(int64_t, avio_seek, (AVIOContext * s, int64_t offset, int whence), (s, offset, whence))
KORVANTA_FORWARD(int, avio_open, (AVIOContext * *s, const char* url, int flags), (s, url, flags))
KORVANTA_FORWARD(void, avio_flush, (AVIOContext * s), (s))
KORVANTA_FORWARD(int, avio_closep, (AVIOContext * *s), (s))
KORVANTA_FORWARD(AVFormatContext*, avformat_alloc_context, (void), ())
KORVANTA_FORWARD(int, avformat_alloc_output_context2,
        (AVFormatContext * *ctx, const AVOutputFormat* oformat, const char* format_name, const char* filename),
        (ctx, oformat, format_name, filename))
KORVANTA_FORWARD(void, avformat_free_context, (AVFormatContext * s), (s))
KORVANTA_FORWARD(int, avformat_open_input, (AVFormatContext * *ps, const char* url, const AVInputFormat* fmt, AVDictionary** options),
        (ps, url, fmt, options))
KORVANTA_FORWARD(void, avformat_close_input, (AVFormatContext * *s), (s))
KORVANTA_FORWARD(int, avformat_find_stream_info, (AVFormatContext * ic, AVDictionary** options), (ic, options))
KORVANTA_FORWARD(AVStream*, avformat_new_stream, (AVFormatContext * s, const AVCodec* c), (s, c))
KORVANTA_FORWARD(int, avformat_write_header, (AVFormatContext * s, AVDictionary** options), (s, options))
KORVANTA_FORWARD(int, av_write_trailer, (AVFormatContext * s), (s))
KORVANTA_FORWARD(int, av_read_frame, (AVFormatContext * s, AVPacket* pkt), (s, pkt))
KORVANTA_FORWARD(int, av_interleaved_write_frame, (AVFormatContext * s, AVPacket* pkt), (s, pkt))
KORVANTA_FORWARD(int, avcodec_parameters_copy, (AVCodecParameters * dst, const AVCodecParameters* src), (dst, src))
KORVANTA_FORWARD(AVPacket*, av_packet_alloc, (void), ())
KORVANTA_FORWARD(void, av_packet_free, (AVPacket * *pkt), (pkt))
KORVANTA_FORWARD(void, av_packet_unref, (AVPacket * pkt), (pkt))
KORVANTA_FORWARD(void, av_packet_rescale_ts, (AVPacket * pkt, AVRational tb_src, AVRational tb_dst), (pkt, tb_src, tb_dst))
