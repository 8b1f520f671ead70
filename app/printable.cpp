// Escaping what a terminal would take as a command, with the C library's own
// reading of UTF-8.
#include "app/printable.h"

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <locale.h>

std::string Printable(std::string_view text)
{
    // Without a UTF-8 locale only plain ASCII is shown as it is.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    const locale_t previous = uselocale(utf8 ? utf8 : LC_GLOBAL_LOCALE);
    std::string shown;
    std::mbstate_t state{};
    for (std::size_t at = 0; at < text.size();)
    {
        wchar_t character = 0;
        std::size_t length = std::mbrtowc(&character, text.data() + at, text.size() - at, &state);
        if (length == 0 || length > text.size() - at)
        {
            state = std::mbstate_t{};
            length = 1;
        }
        else if (std::iswprint(static_cast<wint_t>(character)) &&
                 (utf8 || static_cast<unsigned char>(text[at]) < 0x80))
        {
            shown.append(text.substr(at, length));
            at += length;
            continue;
        }
        for (const char byte : text.substr(at, length))
        {
            char escape[5];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(byte));
            shown += escape;
        }
        at += length;
    }
    uselocale(previous);
    return shown;
}
