#include "EngineCommands.h"

#include <mpv/client.h>

#include <cstring>

namespace EngineCommands {
namespace {
mpv_node String(const char* text)
{
    mpv_node node{};
    node.format = MPV_FORMAT_STRING;
    node.u.string = const_cast<char*>(text);
    return node;
}

mpv_node Map(mpv_node_list& list)
{
    mpv_node node{};
    node.format = MPV_FORMAT_NODE_MAP;
    node.u.list = &list;
    return node;
}
} // namespace

int LoadFile(mpv_handle* engine, std::uint64_t reply, const QByteArray& url, const FileOptions& options)
{
    std::vector<mpv_node> values;
    std::vector<char*> names;
    for (const auto& [name, value] : options) {
        values.push_back(String(value.constData()));
        names.push_back(const_cast<char*>(name));
    }
    mpv_node_list optionList{static_cast<int>(values.size()), values.data(), names.data()};
    // libmpv copies the command before this returns: the nodes may live on the stack.
    mpv_node arguments[] = {String("loadfile"), String(url.constData()), String("replace"), Map(optionList)};
    char* argumentNames[] = {const_cast<char*>("name"), const_cast<char*>("url"), const_cast<char*>("flags"),
                             const_cast<char*>("options")};
    mpv_node_list command{static_cast<int>(std::size(arguments)), arguments, argumentNames};
    mpv_node node = Map(command);
    return mpv_command_node_async(engine, reply, &node);
}

int Stop(mpv_handle* engine)
{
    const char* args[] = {"stop", nullptr};
    return mpv_command_async(engine, 0, args);
}

int SetVolume(mpv_handle* engine, std::uint64_t reply, double volume)
{
    return mpv_set_property_async(engine, reply, "volume", MPV_FORMAT_DOUBLE, &volume);
}

int SetString(mpv_handle* engine, std::uint64_t reply, const char* property, const char* value)
{
    return mpv_set_property_async(engine, reply, property, MPV_FORMAT_STRING, &value);
}

int SetFlag(mpv_handle* engine, std::uint64_t reply, const char* property, bool value)
{
    int flag = value ? 1 : 0;
    return mpv_set_property_async(engine, reply, property, MPV_FORMAT_FLAG, &flag);
}

int GetDouble(mpv_handle* engine, std::uint64_t reply, const char* property)
{
    return mpv_get_property_async(engine, reply, property, MPV_FORMAT_DOUBLE);
}

int Seek(mpv_handle* engine, std::uint64_t reply, double seconds)
{
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    mpv_node arguments[] = {String("seek"), String(target.constData()), String("absolute+keyframes")};
    char* argumentNames[] = {const_cast<char*>("name"), const_cast<char*>("target"), const_cast<char*>("flags")};
    mpv_node_list command{static_cast<int>(std::size(arguments)), arguments, argumentNames};
    mpv_node node = Map(command);
    return mpv_command_node_async(engine, reply, &node);
}

int DumpCache(mpv_handle* engine, std::uint64_t reply, double seconds, const QByteArray& path)
{
    const QByteArray start = QByteArray::number(seconds, 'f', 3);
    mpv_node arguments[] = {String("dump-cache"), String(start.constData()), String("no"), String(path.constData())};
    char* argumentNames[] = {const_cast<char*>("name"), const_cast<char*>("start"), const_cast<char*>("end"),
                             const_cast<char*>("filename")};
    mpv_node_list command{static_cast<int>(std::size(arguments)), arguments, argumentNames};
    mpv_node node = Map(command);
    return mpv_command_node_async(engine, reply, &node);
}

void Abort(mpv_handle* engine, std::uint64_t reply)
{
    mpv_abort_async_command(engine, reply);
}

std::int64_t LoadedEntry(const mpv_event& reply)
{
    if (reply.error < 0 || reply.data == nullptr)
        return -1;
    const mpv_node& result = static_cast<const mpv_event_command*>(reply.data)->result;
    if (result.format != MPV_FORMAT_NODE_MAP)
        return -1;
    for (int i = 0; i < result.u.list->num; ++i) {
        if (std::strcmp(result.u.list->keys[i], "playlist_entry_id") == 0 &&
            result.u.list->values[i].format == MPV_FORMAT_INT64)
            return result.u.list->values[i].u.int64;
    }
    return -1;
}
} // namespace EngineCommands
