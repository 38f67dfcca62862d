#pragma once
// Functions of a library opened at run time, defined under the names its header declares,
// so that callers use them as if it were linked. The file using this defines, before it,
// Symbol(name) (the function's address, or null) and Unavailable<Result>() (what a call
// answers without the library).

#define KORVANTA_FORWARD(Result, name, parameters, arguments)                                   \
    extern "C" Result name parameters                                                           \
    {                                                                                           \
        static const auto target = reinterpret_cast<decltype(&::name)>(Symbol(#name));          \
        return target != nullptr ? target arguments : Unavailable<Result>();                    \
    }
