// libmpv's whole client and render API, each function forwarding to the library loaded at
// run time, so that the code calls mpv_* exactly as if it were linked. Before the library
// is loaded a call waits for it; without it a call does nothing and reports failure.

#include "EngineLibrary.h"
#include "LateBound.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/stream_cb.h>

#include <type_traits>

namespace {
void* Symbol(const char* name)
{
    return EngineLibrary::Symbol(name);
}

template <typename Result>
Result Unavailable()
{
    if constexpr (std::is_same_v<Result, int>)
        return MPV_ERROR_UNINITIALIZED;
    else
        return Result();
}
} // namespace


KORVANTA_FORWARD(unsigned long, mpv_client_api_version, (), ())
KORVANTA_FORWARD(const char*, mpv_error_string, (int error), (error))
KORVANTA_FORWARD(void, mpv_free, (void* data), (data))
KORVANTA_FORWARD(const char*, mpv_client_name, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(int64_t, mpv_client_id, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(mpv_handle*, mpv_create, (), ())
KORVANTA_FORWARD(int, mpv_initialize, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(void, mpv_destroy, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(void, mpv_terminate_destroy, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(mpv_handle*, mpv_create_client, (mpv_handle* ctx, const char* name), (ctx, name))
KORVANTA_FORWARD(mpv_handle*, mpv_create_weak_client, (mpv_handle* ctx, const char* name), (ctx, name))
KORVANTA_FORWARD(int, mpv_load_config_file, (mpv_handle* ctx, const char* filename), (ctx, filename))
KORVANTA_FORWARD(int64_t, mpv_get_time_us, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(void, mpv_free_node_contents, (mpv_node* node), (node))
KORVANTA_FORWARD(int, mpv_set_option, (mpv_handle* ctx, const char* name, mpv_format format, void* data), (ctx, name, format, data))
KORVANTA_FORWARD(int, mpv_set_option_string, (mpv_handle* ctx, const char* name, const char* data), (ctx, name, data))
KORVANTA_FORWARD(int, mpv_command, (mpv_handle* ctx, const char** args), (ctx, args))
KORVANTA_FORWARD(int, mpv_command_node, (mpv_handle* ctx, mpv_node* args, mpv_node* result), (ctx, args, result))
KORVANTA_FORWARD(int, mpv_command_ret, (mpv_handle* ctx, const char** args, mpv_node* result), (ctx, args, result))
KORVANTA_FORWARD(int, mpv_command_string, (mpv_handle* ctx, const char* args), (ctx, args))
KORVANTA_FORWARD(int, mpv_command_async, (mpv_handle* ctx, uint64_t reply_userdata, const char** args), (ctx, reply_userdata, args))
KORVANTA_FORWARD(int, mpv_command_node_async, (mpv_handle* ctx, uint64_t reply_userdata, mpv_node* args), (ctx, reply_userdata, args))
KORVANTA_FORWARD(void, mpv_abort_async_command, (mpv_handle* ctx, uint64_t reply_userdata), (ctx, reply_userdata))
KORVANTA_FORWARD(int, mpv_set_property, (mpv_handle* ctx, const char* name, mpv_format format, void* data), (ctx, name, format, data))
KORVANTA_FORWARD(int, mpv_set_property_string, (mpv_handle* ctx, const char* name, const char* data), (ctx, name, data))
KORVANTA_FORWARD(int, mpv_set_property_async, (mpv_handle* ctx, uint64_t reply_userdata, const char* name, mpv_format format, void* data), (ctx, reply_userdata, name, format, data))
KORVANTA_FORWARD(int, mpv_get_property, (mpv_handle* ctx, const char* name, mpv_format format, void* data), (ctx, name, format, data))
KORVANTA_FORWARD(char*, mpv_get_property_string, (mpv_handle* ctx, const char* name), (ctx, name))
KORVANTA_FORWARD(char*, mpv_get_property_osd_string, (mpv_handle* ctx, const char* name), (ctx, name))
KORVANTA_FORWARD(int, mpv_get_property_async, (mpv_handle* ctx, uint64_t reply_userdata, const char* name, mpv_format format), (ctx, reply_userdata, name, format))
KORVANTA_FORWARD(int, mpv_observe_property, (mpv_handle* mpv, uint64_t reply_userdata, const char* name, mpv_format format), (mpv, reply_userdata, name, format))
KORVANTA_FORWARD(int, mpv_unobserve_property, (mpv_handle* mpv, uint64_t registered_reply_userdata), (mpv, registered_reply_userdata))
KORVANTA_FORWARD(const char*, mpv_event_name, (mpv_event_id event), (event))
KORVANTA_FORWARD(int, mpv_event_to_node, (mpv_node* dst, mpv_event* src), (dst, src))
KORVANTA_FORWARD(int, mpv_request_event, (mpv_handle* ctx, mpv_event_id event, int enable), (ctx, event, enable))
KORVANTA_FORWARD(int, mpv_request_log_messages, (mpv_handle* ctx, const char* min_level), (ctx, min_level))
KORVANTA_FORWARD(mpv_event*, mpv_wait_event, (mpv_handle* ctx, double timeout), (ctx, timeout))
KORVANTA_FORWARD(void, mpv_wakeup, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(void, mpv_set_wakeup_callback, (mpv_handle* ctx, void (*cb)(void*), void* d), (ctx, cb, d))
KORVANTA_FORWARD(void, mpv_wait_async_requests, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(int, mpv_hook_add, (mpv_handle* ctx, uint64_t reply_userdata, const char* name, int priority), (ctx, reply_userdata, name, priority))
KORVANTA_FORWARD(int, mpv_hook_continue, (mpv_handle* ctx, uint64_t id), (ctx, id))
KORVANTA_FORWARD(int, mpv_get_wakeup_pipe, (mpv_handle* ctx), (ctx))
KORVANTA_FORWARD(int, mpv_render_context_create, (mpv_render_context** res, mpv_handle* mpv, mpv_render_param* params), (res, mpv, params))
KORVANTA_FORWARD(int, mpv_render_context_set_parameter, (mpv_render_context* ctx, mpv_render_param param), (ctx, param))
KORVANTA_FORWARD(int, mpv_render_context_get_info, (mpv_render_context* ctx, mpv_render_param param), (ctx, param))
KORVANTA_FORWARD(void, mpv_render_context_set_update_callback, (mpv_render_context* ctx, mpv_render_update_fn callback, void* callback_ctx), (ctx, callback, callback_ctx))
KORVANTA_FORWARD(uint64_t, mpv_render_context_update, (mpv_render_context* ctx), (ctx))
KORVANTA_FORWARD(int, mpv_render_context_render, (mpv_render_context* ctx, mpv_render_param* params), (ctx, params))
KORVANTA_FORWARD(void, mpv_render_context_report_swap, (mpv_render_context* ctx), (ctx))
KORVANTA_FORWARD(void, mpv_render_context_free, (mpv_render_context* ctx), (ctx))
KORVANTA_FORWARD(int, mpv_stream_cb_add_ro, (mpv_handle* ctx, const char* protocol, void* user_data, mpv_stream_cb_open_ro_fn open_fn), (ctx, protocol, user_data, open_fn))

#undef FORWARD
