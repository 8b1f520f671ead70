// The translation of SDL's events into input events: keys through one table,
// letters and digits by range, the left mouse button, and the window's events.
#include "platform/sdl/inputtranslation.h"

#include "platform/win32/codepage.h"

namespace platform
{

namespace
{

struct KeyMapping
{
    SDL_Keycode key;
    UINT virtualKey;
};

constexpr KeyMapping kKeyMap[] = {
    {SDLK_BACKSPACE, VK_BACK},  {SDLK_TAB, VK_TAB},      {SDLK_RETURN, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN}, {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_ESCAPE, VK_ESCAPE},   {SDLK_SPACE, VK_SPACE},  {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},       {SDLK_LEFT, VK_LEFT},    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},     {SDLK_DOWN, VK_DOWN},    {SDLK_DELETE, VK_DELETE},
    {SDLK_F1, VK_F1},
};

UINT VirtualKey(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + static_cast<UINT>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + static_cast<UINT>(key - SDLK_0);
    for (const KeyMapping& mapping : kKeyMap)
        if (mapping.key == key)
            return mapping.virtualKey;
    return 0;
}

InputEvent WindowEvent(const SDL_WindowEvent& event)
{
    InputEvent result;
    switch (event.event)
    {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        result.kind = InputEvent::Kind::FocusLost;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        result.kind = InputEvent::Kind::FocusGained;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        result.kind = InputEvent::Kind::Hidden;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_EXPOSED:
        result.kind = InputEvent::Kind::Exposed;
        break;
    default:
        break;
    }
    return result;
}

} // namespace

InputEvent TranslateEvent(const SDL_Event& event)
{
    InputEvent result;
    switch (event.type)
    {
    case SDL_QUIT:
        result.kind = InputEvent::Kind::Close;
        break;
    case SDL_KEYDOWN:
        // By design: repeats come through; the game treats each as a press.
        result.key = VirtualKey(event.key.keysym.sym);
        if (result.key != 0)
        {
            result.kind = InputEvent::Kind::KeyDown;
            result.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
            result.alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        }
        break;
    case SDL_TEXTINPUT:
        result.text = Utf8ToCp1252(event.text.text);
        if (!result.text.empty())
            result.kind = InputEvent::Kind::Text;
        break;
    case SDL_MOUSEMOTION:
        result.kind = InputEvent::Kind::MouseMove;
        result.x = event.motion.x;
        result.y = event.motion.y;
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.button == SDL_BUTTON_LEFT)
        {
            result.kind = event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::MouseDown
                                                            : InputEvent::Kind::MouseUp;
            result.x = event.button.x;
            result.y = event.button.y;
        }
        break;
    case SDL_WINDOWEVENT:
        result = WindowEvent(event.window);
        break;
    default:
        break;
    }
    return result;
}

} // namespace platform
