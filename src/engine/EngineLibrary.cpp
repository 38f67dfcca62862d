#include "EngineLibrary.h"

#include <cstdlib>
#include <mutex>

#include <dlfcn.h>

namespace {
struct Loaded
{
    void* handle = nullptr;
    std::string error;
};

const Loaded& Library()
{
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] {
        const char* named = std::getenv("KORVANTA_ENGINE_LIBRARY");
        const char* file = named != nullptr && *named != '\0' ? named : EngineLibrary::kFileName;
        // Bound now, on the loading thread, so that no first call pays for it later.
        loaded.handle = dlopen(file, RTLD_NOW | RTLD_LOCAL);
        if (loaded.handle == nullptr) {
            const char* reason = dlerror();
            loaded.error = reason != nullptr ? reason : file;
        }
    });
    return loaded;
}
} // namespace

bool EngineLibrary::Load()
{
    return Library().handle != nullptr;
}

std::string EngineLibrary::Error()
{
    return Library().error;
}

void* EngineLibrary::Symbol(const char* name)
{
    void* handle = Library().handle;
    return handle != nullptr ? dlsym(handle, name) : nullptr;
}
