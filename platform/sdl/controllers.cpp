// Opening and closing controllers as SDL announces them, and their left
// sticks' lean.
#include "platform/sdl/controllers.h"

#include "platform/sdl/inputtranslation.h"

#include <SDL.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform
{

namespace
{

struct ControllerCloser
{
    void operator()(SDL_GameController* controller) const { SDL_GameControllerClose(controller); }
};
using Controller = std::unique_ptr<SDL_GameController, ControllerCloser>;

SDL_JoystickID InstanceId(const Controller& controller)
{
    return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller.get()));
}

} // namespace

InputEvent ControllerButtonEvent(std::string_view name)
{
    const SDL_GameControllerButton button =
        SDL_GameControllerGetButtonFromString(std::string(name).c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID)
        return {};
    SDL_Event event{};
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = static_cast<Uint8>(button);
    event.cbutton.state = SDL_PRESSED;
    return TranslateEvent(event);
}

struct Controllers::Impl
{
    bool started = false;
    std::vector<Controller> open;
    StickPointer pointer;
};

Controllers::Controllers() : m_pImpl(std::make_unique<Impl>()) {}

Controllers::~Controllers() = default;

void Controllers::Start()
{
    // Without the subsystem the game simply has no controllers.
    if (!m_pImpl->started)
        m_pImpl->started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

void Controllers::Handle(const SDL_Event& event)
{
    std::vector<Controller>& open = m_pImpl->open;
    if (event.type == SDL_CONTROLLERDEVICEADDED)
    {
        Controller controller(SDL_GameControllerOpen(event.cdevice.which));
        // Opening one that is open already only counts it twice.
        const bool known = std::ranges::any_of(open, [&](const Controller& c)
                                               { return c.get() == controller.get(); });
        if (controller && !known)
            open.push_back(std::move(controller));
    }
    else if (event.type == SDL_CONTROLLERDEVICEREMOVED)
        std::erase_if(open,
                      [&](const Controller& c) { return InstanceId(c) == event.cdevice.which; });
}

bool Controllers::StickLeaning() const
{
    return m_pImpl->pointer.Leaning();
}

POINT Controllers::TakePointerMotion(std::uint64_t nowMicroseconds)
{
    std::vector<StickLean> sticks;
    for (const Controller& controller : m_pImpl->open)
        sticks.push_back({SDL_GameControllerGetAxis(controller.get(), SDL_CONTROLLER_AXIS_LEFTX),
                          SDL_GameControllerGetAxis(controller.get(), SDL_CONTROLLER_AXIS_LEFTY)});
    return m_pImpl->pointer.Take(sticks, nowMicroseconds);
}

} // namespace platform
