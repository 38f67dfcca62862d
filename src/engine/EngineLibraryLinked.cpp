#include "EngineLibrary.h"

// Linked at build time: the library is there before main.
bool EngineLibrary::Load()
{
    return true;
}

std::string EngineLibrary::Error()
{
    return {};
}
