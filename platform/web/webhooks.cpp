// What the page reads of the program for its test hook (the picture shown
// last, as 640 x 480 RGBA bytes), and its word that the program has ended.
#include "platform/present/display.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <vector>

// Width x height RGBA bytes of the picture shown last, valid until the next
// call; null before the first picture.
extern "C" EMSCRIPTEN_KEEPALIVE const std::uint8_t* tamzelon_picture(int* width, int* height)
{
    static std::vector<std::uint8_t> rgba;
    const platform::PixelBuffer* picture = platform::Display::Instance().ShownPicture();
    if (picture == nullptr)
        return nullptr;
    *width = picture->Width();
    *height = picture->Height();
    rgba.resize(static_cast<std::size_t>(*width) * *height * 4);
    std::uint8_t* out = rgba.data();
    for (int y = 0; y < *height; ++y)
        for (int x = 0; x < *width; ++x)
        {
            const platform::Rgb colour = picture->ToRgb(picture->Get(x, y));
            *out++ = colour.r;
            *out++ = colour.g;
            *out++ = colour.b;
            *out++ = 255;
        }
    return rgba.data();
}

// The program has ended: the page's keys and clicks are the page's again.
extern "C" EMSCRIPTEN_KEEPALIVE void tamzelon_ended()
{
    emscripten_html5_remove_all_event_listeners();
}
