#pragma once
// libmpv, loaded at run time. Linking it puts about two hundred shared libraries in front
// of main; loaded on a worker thread instead, they come in while the windows are built.
// The functions of libmpv's API are defined in this library and forward to the loaded one.

#include <string>

class EngineLibrary
{
public:
    // The file loaded, unless KORVANTA_ENGINE_LIBRARY names another (tests name a missing one).
    static constexpr const char* kFileName = "libmpv.so.2";

    // Loads the library once; a call from any thread while it loads waits for it.
    static bool Load();
    // Why it could not be loaded (file and reason); empty once it is.
    static std::string Error();
    // The address of one of its functions; null when the library could not be loaded.
    static void* Symbol(const char* name);
};
