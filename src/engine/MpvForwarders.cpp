// libmpv's whole client and render API, each function forwarding to the library loaded at
// run time, so that the code calls mpv_* exactly as if it were linked. Before the library
// is loaded a call waits for it; without it a call does nothing and reports failure.

#include "EngineLibrary.h"

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/stream_cb.h>

#include <type_traits>

namespace {
template <typename Function>
Function Resolve(const char* name)
{
    return reinterpret_cast<Function>(EngineLibrary::Symbol(name));
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

#define FORWARD(Result, name, parameters, arguments)                                        \
    extern "C" Result name parameters                                                       \
    {                                                                                       \
        static const auto target = Resolve<decltype(&::name)>(#name);                       \
        return target != nullptr ? target arguments : Unavailable<Result>();                \
    }

FORWARD(unsigned long, mpv_client_api_version, (), ())
FORWARD(const char*, mpv_error_string, (int error), (error))
FORWARD(void, mpv_free, (void* data), (data))
FORWARD(const char*, mpv_client_name, (mpv_handle* ctx), (ctx))
FORWARD(int64_t, mpv_client_id, (mpv_handle* ctx), (ctx))
FORWARD(mpv_handle*, mpv_create, (), ())
FORWARD(int, mpv_initialize, (mpv_handle* ctx), (ctx))
FORWARD(void, mpv_destroy, (mpv_handle* ctx), (ctx))
FORWARD(void, mpv_terminate_destroy, (mpv_handle* ctx), (ctx))
FORWARD(mpv_handle*, mpv_create_client, (mpv_handle* ctx, const char* name), (ctx, name))
FORWARD(mpv_handle*, mpv_create_weak_client, (mpv_handle* ctx, const char* name), (ctx, name))
FORWARD(int, mpv_load_config_file, (mpv_handle* ctx, const char* filename), (ctx, filename))
FORWARD(int64_t, mpv_get_time_us, (mpv_handle* ctx), (ctx))
FORWARD(void, mpv_free_node_contents, (mpv_node* node), (node))
FORWARD(int, mpv_set_option, (mpv_handle* ctx, const char* name, mpv_format format, void* data), (ctx, name, format, data))
FORWARD(int, mpv_set_option_string, (mpv_handle* ctx, const char* name, const char* data), (ctx, name, data))
FORWARD(int, mpv_command, (mpv_handle* ctx, const char** args), (ctx, args))
FORWARD(int, mpv_command_node, (mpv_handle* ctx, mpv_node* args, mpv_node* result), (ctx, args, result))
FORWARD(int, mpv_command_ret, (mpv_handle* ctx, const char** args, mpv_node* result), (ctx, args, result))
FORWARD(int, mpv_command_string, (mpv_handle* ctx, const char* args), (ctx, args))
FORWARD(int, mpv_command_async, (mpv_handle* ctx, uint64_t reply_userdata, const char** args), (ctx, reply_userdata, args))
FORWARD(int, mpv_command_node_async, (mpv_handle* ctx, uint64_t reply_userdata, mpv_node* args), (ctx, reply_userdata, args))
FORWARD(void, mpv_abort_async_command, (mpv_handle* ctx, uint64_t reply_userdata), (ctx, reply_userdata))
FORWARD(int, mpv_set_property, (mpv_handle* ctx, const char* name, mpv_format format, void* data), (ctx, name, format, data))
FORWARD(int, mpv_set_property_string, (mpv_handle* ctx, const char* name, const char* data), (ctx, name, data))
FORWARD(int, mpv_set_property_async, (mpv_handle* ctx, uint64_t reply_userdata, const char* name, mpv_format format, void* data), (ctx, reply_userdata, name, format, data))
FORWARD(int, mpv_get_property, (mpv_handle* ctx, const char* name, mpv_format format, void* data), (ctx, name, format, data))
FORWARD(char*, mpv_get_property_string, (mpv_handle* ctx, const char* name), (ctx, name))
FORWARD(char*, mpv_get_property_osd_string, (mpv_handle* ctx, const char* name), (ctx, name))
FORWARD(int, mpv_get_property_async, (mpv_handle* ctx, uint64_t reply_userdata, const char* name, mpv_format format), (ctx, reply_userdata, name, format))
FORWARD(int, mpv_observe_property, (mpv_handle* mpv, uint64_t reply_userdata, const char* name, mpv_format format), (mpv, reply_userdata, name, format))
FORWARD(int, mpv_unobserve_property, (mpv_handle* mpv, uint64_t registered_reply_userdata), (mpv, registered_reply_userdata))
FORWARD(const char*, mpv_event_name, (mpv_event_id event), (event))
FORWARD(int, mpv_event_to_node, (mpv_node* dst, mpv_event* src), (dst, src))
FORWARD(int, mpv_request_event, (mpv_handle* ctx, mpv_event_id event, int enable), (ctx, event, enable))
FORWARD(int, mpv_request_log_messages, (mpv_handle* ctx, const char* min_level), (ctx, min_level))
FORWARD(mpv_event*, mpv_wait_event, (mpv_handle* ctx, double timeout), (ctx, timeout))
FORWARD(void, mpv_wakeup, (mpv_handle* ctx), (ctx))
FORWARD(void, mpv_set_wakeup_callback, (mpv_handle* ctx, void (*cb)(void*), void* d), (ctx, cb, d))
FORWARD(void, mpv_wait_async_requests, (mpv_handle* ctx), (ctx))
FORWARD(int, mpv_hook_add, (mpv_handle* ctx, uint64_t reply_userdata, const char* name, int priority), (ctx, reply_userdata, name, priority))
FORWARD(int, mpv_hook_continue, (mpv_handle* ctx, uint64_t id), (ctx, id))
FORWARD(int, mpv_get_wakeup_pipe, (mpv_handle* ctx), (ctx))
FORWARD(int, mpv_render_context_create, (mpv_render_context** res, mpv_handle* mpv, mpv_render_param* params), (res, mpv, params))
FORWARD(int, mpv_render_context_set_parameter, (mpv_render_context* ctx, mpv_render_param param), (ctx, param))
FORWARD(int, mpv_render_context_get_info, (mpv_render_context* ctx, mpv_render_param param), (ctx, param))
FORWARD(void, mpv_render_context_set_update_callback, (mpv_render_context* ctx, mpv_render_update_fn callback, void* callback_ctx), (ctx, callback, callback_ctx))
FORWARD(uint64_t, mpv_render_context_update, (mpv_render_context* ctx), (ctx))
FORWARD(int, mpv_render_context_render, (mpv_render_context* ctx, mpv_render_param* params), (ctx, params))
FORWARD(void, mpv_render_context_report_swap, (mpv_render_context* ctx), (ctx))
FORWARD(void, mpv_render_context_free, (mpv_render_context* ctx), (ctx))
FORWARD(int, mpv_stream_cb_add_ro, (mpv_handle* ctx, const char* protocol, void* user_data, mpv_stream_cb_open_ro_fn open_fn), (ctx, protocol, user_data, open_fn))

#undef FORWARD
