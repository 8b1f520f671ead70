// Tables that name result codes, each entry made from the named constant
// itself so that no code is typed as a number a second time.
#pragma once

#include "platform/win32/win32.h"

#include <span>

namespace platform
{

struct ResultName
{
    HRESULT code;
    const char* name;
};

// The name of the first entry with that code, or "Unknown Error".
inline const char* NameOfResult(std::span<const ResultName> table, HRESULT result)
{
    for (const ResultName& entry : table)
        if (entry.code == result)
            return entry.name;
    return "Unknown Error";
}

} // namespace platform

// {DDERR_SURFACELOST, "DDERR_SURFACELOST"}
#define TZ_RESULT_NAME(constant)                                                                   \
    ::platform::ResultName                                                                         \
    {                                                                                              \
        constant, #constant                                                                        \
    }
