// Listening to the page with Emscripten's HTML5 events and translating them.
#include "platform/web/webinput.h"

#include "platform/web/pagecalls.h"
#include "platform/web/webkeys.h"
#include "platform/win32/codepage.h"

#include <emscripten/html5.h>

#include <functional>
#include <string>

namespace platform
{

namespace
{

constexpr const char* kCanvas = "#canvas";

// A key held with one of these is the browser's (copy, reload, ...), not the game's.
bool BrowserShortcut(const EmscriptenKeyboardEvent& event)
{
    return event.ctrlKey || event.metaKey;
}

unsigned KeyId(const char* code)
{
    return static_cast<unsigned>(std::hash<std::string_view>{}(code));
}

// The canvas's device pixel under a point of the page (CSS pixels from its corner).
void ToArea(double cssX, double cssY, int& x, int& y)
{
    double cssWidth = 0, cssHeight = 0;
    int width = 0, height = 0;
    emscripten_get_element_css_size(kCanvas, &cssWidth, &cssHeight);
    tz_page_area_size(&width, &height);
    x = cssWidth > 0 ? static_cast<int>(cssX * width / cssWidth) : 0;
    y = cssHeight > 0 ? static_cast<int>(cssY * height / cssHeight) : 0;
}

InputEvent Pointer(InputEvent::Kind kind, double cssX, double cssY)
{
    InputEvent event;
    event.kind = kind;
    ToArea(cssX, cssY, event.x, event.y);
    return event;
}

WebInput& Of(void* input)
{
    return *static_cast<WebInput*>(input);
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* key, void* input)
{
    // A release always comes, so that no key stays held for the game.
    if (type == EMSCRIPTEN_EVENT_KEYDOWN && BrowserShortcut(*key))
        return EM_FALSE;
    InputEvent event;
    event.keyId = KeyId(key->code);
    event.key = WebVirtualKey(key->code, key->key);
    // A key that types one character (named by it in UTF-8) types it.
    const std::string typed = key->key;
    const bool printable = !typed.empty() && static_cast<unsigned char>(typed[0]) >= ' ' &&
                           (typed.size() == 1 || static_cast<unsigned char>(typed[0]) >= 0xC0);
    if (type == EMSCRIPTEN_EVENT_KEYUP)
    {
        event.kind = InputEvent::Kind::KeyUp;
        Of(input).Add(event);
    }
    else
    {
        // By design: repeats come through; the game treats each as a press.
        // Every key comes, as on the desktop, so that its repeats' characters can be told.
        event.kind = InputEvent::Kind::KeyDown;
        event.shift = key->shiftKey;
        event.alt = key->altKey;
        event.repeat = key->repeat;
        Of(input).Add(event);
        InputEvent text;
        text.kind = InputEvent::Kind::Text;
        text.text = printable && !key->altKey ? Utf8ToCp1252(typed.c_str()) : std::string();
        if (!text.text.empty())
            Of(input).Add(text);
    }
    // The page neither scrolls nor moves its focus by the game's keys; the
    // browser keeps the others (F5, F11, F12).
    return event.key != 0 || printable;
}

EM_BOOL OnMouse(int type, const EmscriptenMouseEvent* mouse, void* input)
{
    if (type != EMSCRIPTEN_EVENT_MOUSEMOVE && mouse->button != 0)
        return EM_FALSE;
    const InputEvent::Kind kind = type == EMSCRIPTEN_EVENT_MOUSEDOWN ? InputEvent::Kind::MouseDown
                                  : type == EMSCRIPTEN_EVENT_MOUSEUP ? InputEvent::Kind::MouseUp
                                                                     : InputEvent::Kind::MouseMove;
    Of(input).Add(Pointer(kind, mouse->targetX, mouse->targetY));
    // A press on the canvas selects nothing and moves no focus.
    return type == EMSCRIPTEN_EVENT_MOUSEDOWN;
}

// The first finger is the pointer: it moves the crosshair, and a tap presses
// where it lands. Nothing of it scrolls or zooms the page.
EM_BOOL OnTouch(int type, const EmscriptenTouchEvent* touch, void* input)
{
    for (int i = 0; i < touch->numTouches; ++i)
    {
        const EmscriptenTouchPoint& point = touch->touches[i];
        if (!point.isChanged || i != 0)
            continue;
        switch (type)
        {
        case EMSCRIPTEN_EVENT_TOUCHSTART:
            Of(input).Add(Pointer(InputEvent::Kind::MouseMove, point.targetX, point.targetY));
            Of(input).Add(Pointer(InputEvent::Kind::MouseDown, point.targetX, point.targetY));
            break;
        case EMSCRIPTEN_EVENT_TOUCHMOVE:
            Of(input).Add(Pointer(InputEvent::Kind::MouseMove, point.targetX, point.targetY));
            break;
        default:
            Of(input).Add(Pointer(InputEvent::Kind::MouseUp, point.targetX, point.targetY));
            break;
        }
    }
    return EM_TRUE;
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent*, void* input)
{
    InputEvent event;
    event.kind =
        type == EMSCRIPTEN_EVENT_BLUR ? InputEvent::Kind::FocusLost : InputEvent::Kind::FocusGained;
    Of(input).Add(event);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* change, void* input)
{
    InputEvent event;
    event.kind = change->hidden ? InputEvent::Kind::Hidden : InputEvent::Kind::Exposed;
    Of(input).Add(event);
    return EM_FALSE;
}

EM_BOOL OnResize(int, const EmscriptenUiEvent*, void* input)
{
    InputEvent event;
    event.kind = InputEvent::Kind::Resized;
    Of(input).Add(event);
    return EM_FALSE;
}

} // namespace

void WebInput::Start()
{
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, this, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(window, this, EM_TRUE, OnKey);
    emscripten_set_mousedown_callback(kCanvas, this, EM_TRUE, OnMouse);
    // Let go anywhere, also beside the canvas (the window's corner is the canvas's).
    emscripten_set_mouseup_callback(window, this, EM_TRUE, OnMouse);
    emscripten_set_mousemove_callback(kCanvas, this, EM_TRUE, OnMouse);
    emscripten_set_touchstart_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_touchmove_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_touchend_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_touchcancel_callback(kCanvas, this, EM_TRUE, OnTouch);
    emscripten_set_blur_callback(window, this, EM_TRUE, OnFocus);
    emscripten_set_focus_callback(window, this, EM_TRUE, OnFocus);
    emscripten_set_visibilitychange_callback(this, EM_TRUE, OnVisibility);
    emscripten_set_resize_callback(window, this, EM_TRUE, OnResize);
}

void WebInput::Add(const InputEvent& event)
{
    m_Events.push_back(event);
    tz_page_wake();
}

void WebInput::Take(std::vector<InputEvent>& events)
{
    events.insert(events.end(), m_Events.begin(), m_Events.end());
    m_Events.clear();
}

} // namespace platform
