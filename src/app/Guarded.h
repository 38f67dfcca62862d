#pragma once
// A slot that reads texts: a missing one ends that slot alone, as in any other handler.

#include "WinApp.h"

template <class Slot>
auto Guarded(Slot slot)
{
    return [slot](auto&&... args) { CatchInvalidArgument([&] { slot(args...); }); };
}
