// The translation of SDL's events into input events: keys and controller
// buttons through one table, letters and digits by range, the left mouse
// button, and the window's events.
#include "platform/sdl/inputtranslation.h"

#include "platform/win32/codepage.h"

namespace platform
{

namespace
{

enum class Source
{
    Key,    // SDL_Keycode
    Button, // SDL_GameControllerButton
};

struct Mapping
{
    Source source;
    int code;
    UINT virtualKey;
};

constexpr Mapping kInputMap[] = {
    {Source::Key, SDLK_BACKSPACE, VK_BACK},
    {Source::Key, SDLK_TAB, VK_TAB},
    {Source::Key, SDLK_RETURN, VK_RETURN},
    {Source::Key, SDLK_KP_ENTER, VK_RETURN},
    {Source::Key, SDLK_LSHIFT, VK_SHIFT},
    {Source::Key, SDLK_RSHIFT, VK_SHIFT},
    {Source::Key, SDLK_ESCAPE, VK_ESCAPE},
    {Source::Key, SDLK_SPACE, VK_SPACE},
    {Source::Key, SDLK_END, VK_END},
    {Source::Key, SDLK_HOME, VK_HOME},
    {Source::Key, SDLK_LEFT, VK_LEFT},
    {Source::Key, SDLK_UP, VK_UP},
    {Source::Key, SDLK_RIGHT, VK_RIGHT},
    {Source::Key, SDLK_DOWN, VK_DOWN},
    {Source::Key, SDLK_DELETE, VK_DELETE},
    {Source::Key, SDLK_F1, VK_F1},
    // A controller plays without a keyboard: the D-pad as the arrows, A shoots
    // as Space does, Start and B answer as Enter and Escape.
    {Source::Button, SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},
    {Source::Button, SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
    {Source::Button, SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
    {Source::Button, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
    {Source::Button, SDL_CONTROLLER_BUTTON_A, VK_SPACE},
    {Source::Button, SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},
    {Source::Button, SDL_CONTROLLER_BUTTON_START, VK_RETURN},
};

// No desktop starts repeating a held key sooner than this.
constexpr Uint32 kShortestRepeatDelayMs = 100;

// Controller buttons are told from keys (scancodes) by ids from here on.
constexpr unsigned kControllerKeyIds = SDL_NUM_SCANCODES;

UINT VirtualKey(Source source, int code)
{
    if (source == Source::Key && code >= SDLK_a && code <= SDLK_z)
        return 'A' + static_cast<UINT>(code - SDLK_a);
    if (source == Source::Key && code >= SDLK_0 && code <= SDLK_9)
        return '0' + static_cast<UINT>(code - SDLK_0);
    for (const Mapping& mapping : kInputMap)
        if (mapping.source == source && mapping.code == code)
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
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        result.kind = InputEvent::Kind::Resized;
        break;
    default:
        break;
    }
    return result;
}

} // namespace

bool KeyRepeats::IsRepeat(const SDL_KeyboardEvent& key)
{
    const bool repeat = key.repeat != 0 && key.keysym.scancode == m_LastDown &&
                        key.timestamp - m_PressedAt >= kShortestRepeatDelayMs;
    m_LastDown = key.keysym.scancode;
    if (!repeat)
        m_PressedAt = key.timestamp;
    return repeat;
}

InputEvent TranslateEvent(const SDL_Event& event)
{
    InputEvent result;
    switch (event.type)
    {
    case SDL_QUIT:
        result.kind = InputEvent::Kind::Close;
        break;
    case SDL_KEYDOWN:
        // By design: repeats come through (KeyRepeats tells them); the game
        // treats each as a press where the key was pressed. Every key comes,
        // also one the game does not know, so that the characters its repeats
        // type can be told.
        result.kind = InputEvent::Kind::KeyDown;
        result.keyId = event.key.keysym.scancode;
        result.key = VirtualKey(Source::Key, event.key.keysym.sym);
        result.shift = (event.key.keysym.mod & KMOD_SHIFT) != 0;
        result.alt = (event.key.keysym.mod & KMOD_ALT) != 0;
        break;
    case SDL_KEYUP:
        result.kind = InputEvent::Kind::KeyUp;
        result.keyId = event.key.keysym.scancode;
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        result.key = VirtualKey(Source::Button, event.cbutton.button);
        result.keyId = kControllerKeyIds + event.cbutton.button;
        if (result.key != 0)
            result.kind = InputEvent::Kind::KeyDown;
        break;
    case SDL_CONTROLLERBUTTONUP:
        result.kind = InputEvent::Kind::KeyUp;
        result.keyId = kControllerKeyIds + event.cbutton.button;
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
