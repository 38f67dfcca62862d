#include "ClockPicture.h"

#include <mpv/client.h>

#include <cstring>

namespace {

constexpr int kBits = 16;
constexpr int kBlock = 20;
constexpr int kWhite = 128;

const mpv_node* Find(const mpv_node& map, const char* key)
{
    for (int i = 0; map.format == MPV_FORMAT_NODE_MAP && i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], key) == 0)
            return &map.u.list->values[i];
    }
    return nullptr;
}

} // namespace

int ClockFrame(const QImage& picture)
{
    int frame = 0;
    for (int bit = 0; bit < kBits; ++bit) {
        if (qGray(picture.pixel(bit * kBlock + kBlock / 2, kBlock / 2)) > kWhite)
            frame |= 1 << bit;
    }
    return frame;
}

std::optional<QImage> EnginePicture(mpv_handle* engine)
{
    const char* args[] = {"screenshot-raw", "video", nullptr};
    mpv_node result{};
    if (mpv_command_ret(engine, args, &result) < 0)
        return std::nullopt;
    std::optional<QImage> picture;
    const mpv_node* w = Find(result, "w");
    const mpv_node* h = Find(result, "h");
    const mpv_node* stride = Find(result, "stride");
    const mpv_node* data = Find(result, "data");
    if (w && h && stride && data && data->format == MPV_FORMAT_BYTE_ARRAY) {
        const QImage view(static_cast<const uchar*>(data->u.ba->data), int(w->u.int64), int(h->u.int64),
                          int(stride->u.int64), QImage::Format_RGB32); // the engine's bgr0
        picture = view.copy();
    }
    mpv_free_node_contents(&result);
    return picture;
}
