// Admitting key repeats only in the place their key was pressed in.
#include "platform/win32/heldkeys.h"

namespace platform
{

bool HeldKeys::Admit(const InputEvent& event)
{
    using Kind = InputEvent::Kind;
    if (event.kind == Kind::Text)
        return !m_bDropText;
    m_bDropText = false;
    switch (event.kind)
    {
    case Kind::KeyDown:
        if (!event.repeat)
        {
            m_PressedIn[event.keyId] = m_nContext;
            return true;
        }
        // Alt+Enter switches the screen once per press; a key held from before
        // the game's start or from another place is not the player's word here.
        if (const auto found = m_PressedIn.find(event.keyId); !event.SwitchesScreenMode() &&
                                                              found != m_PressedIn.end() &&
                                                              found->second == m_nContext)
            return true;
        m_bDropText = true;
        return false;
    case Kind::KeyUp:
        m_PressedIn.erase(event.keyId);
        return true;
    default:
        return true;
    }
}

void HeldKeys::NewContext()
{
    ++m_nContext;
}

void HeldKeys::Clear()
{
    m_PressedIn.clear();
    m_bDropText = false;
}

} // namespace platform
