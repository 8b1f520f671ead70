// What the program asks of the page around it (page/tamzelon-page.js), and
// what the page calls in the program. The page's side keeps the browser's
// objects: the canvas, the sound context, the storage, the folder's lock.
#pragma once

#include <cstdint>

extern "C"
{
    // The canvas in device pixels.
    void tz_page_area_size(int* width, int* height);
    // Rectangle (x, y, w, h) of the area's RGBA pixels (width x height) onto the canvas.
    void tz_page_show_area(const std::uint8_t* pixels, int width, int height, int x, int y, int w,
                           int h);
    // A picture was shown (its rectangles all drawn); yields to the browser
    // until it has painted the next frame.
    void tz_page_frame_shown();
    // The system's pointer over the canvas.
    void tz_page_show_pointer(int visible);
    // Full screen on or off; 0 when the browser refused at once.
    int tz_page_full_screen(int on);
    // Whether the browser is showing the page full screen now.
    int tz_page_is_full_screen();
    // Opens the sound output; its rate, or 0 when there is none.
    int tz_page_open_audio();
    void tz_page_close_audio();
    // Takes the file at path (absolute) into the browser's storage; 0 when
    // there is no storage to take it.
    int tz_page_keep_file(const char* path);
    // Whether this page holds the game folder's lock (no other tab plays).
    int tz_page_folder_claimed();
    // The seed the page's address asks for, or -1.
    int tz_page_seed();
    // Yields to the browser until input comes or timeoutMs passed (-1: no limit).
    void tz_page_wait(int timeoutMs);
    // Input came: a wait ends.
    void tz_page_wake();
    // Yields to the browser for that long (a closing tab ends it at once).
    void tz_page_sleep(int milliseconds);
}
