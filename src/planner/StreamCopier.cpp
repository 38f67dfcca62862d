#include "StreamCopier.h"

#include "LogCategories.h"

#include <QFileInfo>
#include <QMetaObject>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/mathematics.h>
}

#include <chrono>
#include <vector>

namespace {

constexpr auto kDiskCheckEvery = std::chrono::seconds(5);
// What is written reaches the file this often: a crash loses no more, and a recording's
// first bytes are there with its first packet rather than once the buffer fills.
constexpr auto kFlushEvery = std::chrono::milliseconds(500);
constexpr auto kFirstRetry = std::chrono::seconds(1);
constexpr auto kLongestRetry = std::chrono::seconds(15);
// Enough to know the streams of a live channel without keeping it waiting long.
constexpr const char* kProbeBytes = "2000000";
constexpr const char* kAnalyseMicroseconds = "3000000";
constexpr const char* kReadTimeoutMicroseconds = "10000000";
// Between the last packet of a stretch and the first of the next, for the player to see a
// step in time rather than a jump back.
constexpr int64_t kStretchGapMicroseconds = 40000;
// Sound and pictures of a stream lie this close in time at most; a step back or forward
// beyond is a jump.
constexpr int64_t kLongestLagMicroseconds = 2000000;
constexpr int64_t kLongestJumpMicroseconds = 5000000;

struct InputCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
using Input = std::unique_ptr<AVFormatContext, InputCloser>;

int Interrupted(void* flag)
{
    return static_cast<std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

QString ErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return QString::fromUtf8(text);
}

} // namespace

// The output and what it was fed, kept across the input's reconnects.
struct StreamCopier::Copy {
    AVFormatContext* output = nullptr;
    bool headerWritten = false;
    // Per output stream: its media type, and the end of what it was given (microseconds).
    std::vector<AVMediaType> kinds;
    std::vector<int64_t> lastDts;
    int64_t end = AV_NOPTS_VALUE;
    int64_t shift = 0; // added to the input's times, in microseconds
    bool shiftKnown = false;

    ~Copy()
    {
        if (output == nullptr)
            return;
        if (headerWritten)
            av_write_trailer(output);
        avio_closep(&output->pb);
        avformat_free_context(output);
    }
};

StreamCopier::StreamCopier(CopySource source, QString path, FreeSpace freeSpace)
    : source(std::move(source)), path(std::move(path)), freeSpace(std::move(freeSpace))
{
    // The library's own report of every request would fill the terminal; asked for, it shows.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(lcPlanner().isDebugEnabled() ? AV_LOG_INFO : AV_LOG_FATAL); });
}

StreamCopier::~StreamCopier()
{
    Stop();
    if (worker.joinable())
        worker.join();
}

void StreamCopier::Start()
{
    worker = std::thread([this] { Run(); });
}

void StreamCopier::Stop()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_all();
}

namespace {

Input OpenInput(const CopySource& source, std::atomic<bool>& stopping)
{
    AVFormatContext* context = avformat_alloc_context();
    context->interrupt_callback = {Interrupted, &stopping};
    AVDictionary* options = nullptr;
    av_dict_set(&options, "rw_timeout", kReadTimeoutMicroseconds, 0);
    av_dict_set(&options, "probesize", kProbeBytes, 0);
    av_dict_set(&options, "analyzeduration", kAnalyseMicroseconds, 0);
    if (!source.userAgent.isEmpty())
        av_dict_set(&options, "user_agent", source.userAgent.toUtf8().constData(), 0);
    if (!source.referrer.isEmpty())
        av_dict_set(&options, "referer", source.referrer.toUtf8().constData(), 0);
    const int opened = avformat_open_input(&context, source.address.toUtf8().constData(), nullptr, &options);
    av_dict_free(&options);
    if (opened < 0) {
        qCDebug(lcPlanner) << "cannot open" << (source.shown.isEmpty() ? source.address : source.shown) << ErrorText(opened);
        return nullptr;
    }
    Input input(context);
    if (avformat_find_stream_info(context, nullptr) < 0)
        return nullptr;
    return input;
}

bool Copied(AVMediaType kind)
{
    return kind == AVMEDIA_TYPE_VIDEO || kind == AVMEDIA_TYPE_AUDIO || kind == AVMEDIA_TYPE_SUBTITLE;
}

// The output's streams are made from the first input; later inputs are matched to them by
// kind and order: the second sound track goes on as the second sound track.
std::vector<int> MapStreams(const AVFormatContext* input, const std::vector<AVMediaType>& kinds)
{
    std::vector<int> map(input->nb_streams, -1);
    std::vector<bool> taken(kinds.size(), false);
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVMediaType kind = input->streams[i]->codecpar->codec_type;
        for (std::size_t out = 0; out < kinds.size(); ++out) {
            if (!taken[out] && kinds[out] == kind) {
                taken[out] = true;
                map[i] = int(out);
                break;
            }
        }
    }
    return map;
}

} // namespace

void StreamCopier::Run()
{
    Copy copy;
    CopyOutcome outcome = CopyOutcome::Stopped;
    auto retry = kFirstRetry;
    auto nextDiskCheck = std::chrono::steady_clock::now();
    auto nextFlush = nextDiskCheck;
    const QString folder = QFileInfo(path).absolutePath();
    while (!stopping) {
        Input input = OpenInput(source, stopping);
        if (input && copy.output == nullptr) {
            avformat_alloc_output_context2(&copy.output, nullptr, "mpegts", path.toUtf8().constData());
            for (unsigned i = 0; copy.output != nullptr && i < input->nb_streams; ++i) {
                const AVCodecParameters* parameters = input->streams[i]->codecpar;
                if (!Copied(parameters->codec_type))
                    continue;
                AVStream* stream = avformat_new_stream(copy.output, nullptr);
                avcodec_parameters_copy(stream->codecpar, parameters);
                stream->codecpar->codec_tag = 0;
                copy.kinds.push_back(parameters->codec_type);
                copy.lastDts.push_back(AV_NOPTS_VALUE);
            }
            if (copy.output == nullptr || copy.kinds.empty()
                || avio_open(&copy.output->pb, path.toUtf8().constData(), AVIO_FLAG_WRITE) < 0
                || avformat_write_header(copy.output, nullptr) < 0) {
                qCWarning(lcPlanner) << "cannot write" << path;
                outcome = CopyOutcome::DiskFull;
                break;
            }
            copy.headerWritten = true;
        }
        if (input) {
            retry = kFirstRetry;
            copy.shiftKnown = false;
            const std::vector<int> map = MapStreams(input.get(), copy.kinds);
            AVPacket* packet = av_packet_alloc();
            while (!stopping && av_read_frame(input.get(), packet) >= 0) {
                const int out = packet->stream_index < int(map.size()) ? map[std::size_t(packet->stream_index)] : -1;
                if (out >= 0 && packet->dts != AV_NOPTS_VALUE) {
                    const AVRational from = input->streams[packet->stream_index]->time_base;
                    const AVRational to = copy.output->streams[out]->time_base;
                    const int64_t dts = av_rescale_q(packet->dts, from, AV_TIME_BASE_Q);
                    // A stream that loops or splices jumps in time: what follows goes on
                    // from where the file is, as after a reconnect.
                    if (copy.shiftKnown && copy.end != AV_NOPTS_VALUE
                        && (dts + copy.shift < copy.end - kLongestLagMicroseconds
                            || dts + copy.shift > copy.end + kLongestJumpMicroseconds))
                        copy.shiftKnown = false;
                    if (!copy.shiftKnown) {
                        copy.shift = copy.end == AV_NOPTS_VALUE ? 0 : copy.end + kStretchGapMicroseconds - dts;
                        copy.shiftKnown = true;
                    }
                    const int64_t shifted = dts + copy.shift;
                    int64_t& last = copy.lastDts[std::size_t(out)];
                    if (last == AV_NOPTS_VALUE || shifted > last) {
                        last = shifted;
                        copy.end = std::max(copy.end == AV_NOPTS_VALUE ? shifted : copy.end, shifted);
                        const int64_t shiftTo = av_rescale_q(copy.shift, AV_TIME_BASE_Q, to);
                        av_packet_rescale_ts(packet, from, to);
                        packet->dts += shiftTo;
                        if (packet->pts != AV_NOPTS_VALUE)
                            packet->pts += shiftTo;
                        packet->stream_index = out;
                        packet->pos = -1;
                        if (av_interleaved_write_frame(copy.output, packet) < 0) {
                            outcome = CopyOutcome::DiskFull;
                            stopping = true;
                        }
                        ++packets;
                        bytes = avio_tell(copy.output->pb);
                        if (std::chrono::steady_clock::now() >= nextFlush) {
                            avio_flush(copy.output->pb);
                            nextFlush = std::chrono::steady_clock::now() + kFlushEvery;
                        }
                    }
                }
                av_packet_unref(packet);
                if (std::chrono::steady_clock::now() >= nextDiskCheck) {
                    nextDiskCheck = std::chrono::steady_clock::now() + kDiskCheckEvery;
                    if (freeSpace(folder) < kStopReserveBytes) {
                        qCWarning(lcPlanner) << "the disk of" << path << "runs low: the recording stops";
                        outcome = CopyOutcome::DiskFull;
                        stopping = true;
                    }
                }
            }
            av_packet_free(&packet);
        }
        if (stopping)
            break;
        qCDebug(lcPlanner) << "the stream of" << path << "broke off; again in" << retry.count() << "s";
        std::unique_lock lock(mutex);
        wake.wait_for(lock, retry, [this] { return stopping.load(); });
        retry = std::min(retry * 2, kLongestRetry);
    }
    if (copy.output == nullptr && outcome == CopyOutcome::Stopped)
        outcome = CopyOutcome::Unavailable;
    QMetaObject::invokeMethod(this, [this, outcome] { emit Ended(outcome); }, Qt::QueuedConnection);
}
