// The program's calls to the page, each handed to the page's own object.
#include "platform/web/pagecalls.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, tz_page_area_size, (int* width, int* height), {
    const size = Module.tamzelonPage.areaSize();
    HEAP32[width >> 2] = size[0];
    HEAP32[height >> 2] = size[1];
});
EM_JS(void, tz_page_show_area, (const std::uint8_t* pixels, int width, int height, int x, int y,
                                int w, int h), {
    Module.tamzelonPage.showArea(pixels, width, height, x, y, w, h);
});
EM_ASYNC_JS(void, tz_page_frame_shown_async, (), {
    await Module.tamzelonPage.frameShown();
});
EM_JS(void, tz_page_show_pointer, (int visible), {
    Module.tamzelonPage.showPointer(visible != 0);
});
EM_JS(int, tz_page_full_screen, (int on), {
    return Module.tamzelonPage.fullScreen(on != 0) ? 1 : 0;
});
EM_JS(int, tz_page_is_full_screen, (), {
    return Module.tamzelonPage.isFullScreen() ? 1 : 0;
});
EM_JS(int, tz_page_open_audio, (), {
    return Module.tamzelonPage.openAudio();
});
EM_JS(void, tz_page_close_audio, (), {
    Module.tamzelonPage.closeAudio();
});
EM_JS(int, tz_page_keep_file, (const char* path), {
    return Module.tamzelonPage.keepFile(UTF8ToString(path)) ? 1 : 0;
});
EM_JS(int, tz_page_folder_claimed, (), {
    return Module.tamzelonPage.folderClaimed() ? 1 : 0;
});
EM_JS(int, tz_page_seed, (), {
    return Module.tamzelonPage.seed();
});
EM_ASYNC_JS(void, tz_page_wait_async, (int timeoutMs), {
    await Module.tamzelonPage.waitForInput(timeoutMs);
});
EM_ASYNC_JS(void, tz_page_sleep_async, (int milliseconds), {
    await Module.tamzelonPage.sleep(milliseconds);
});
EM_JS(void, tz_page_wake, (), {
    Module.tamzelonPage.wake();
});
// clang-format on

// Another file's call of an asynchronous import would miss the import's own name.
void tz_page_wait(int timeoutMs)
{
    tz_page_wait_async(timeoutMs);
}

void tz_page_frame_shown()
{
    tz_page_frame_shown_async();
}

void tz_page_sleep(int milliseconds)
{
    tz_page_sleep_async(milliseconds);
}
