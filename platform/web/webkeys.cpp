// The page's keys by the place of the key, letters by what the layout types.
#include "platform/web/webkeys.h"

namespace platform
{

namespace
{

struct Mapping
{
    std::string_view code;
    UINT virtualKey;
};

constexpr Mapping kKeyMap[] = {
    {"Backspace", VK_BACK},   {"Tab", VK_TAB},
    {"Enter", VK_RETURN},     {"NumpadEnter", VK_RETURN},
    {"ShiftLeft", VK_SHIFT},  {"ShiftRight", VK_SHIFT},
    {"Escape", VK_ESCAPE},    {"Space", VK_SPACE},
    {"End", VK_END},          {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},   {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT}, {"ArrowDown", VK_DOWN},
    {"Delete", VK_DELETE},    {"F1", VK_F1},
};

} // namespace

UINT WebVirtualKey(std::string_view code, std::string_view key)
{
    if (key.size() == 1 && ((key[0] >= 'a' && key[0] <= 'z') || (key[0] >= 'A' && key[0] <= 'Z')))
        return static_cast<UINT>(key[0] & ~0x20);
    if (code.size() == 6 && code.starts_with("Digit"))
        return static_cast<UINT>(code[5]);
    for (const Mapping& mapping : kKeyMap)
        if (mapping.code == code)
            return mapping.virtualKey;
    return 0;
}

} // namespace platform
