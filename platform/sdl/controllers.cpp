// Opening and closing controllers as SDL announces them, and the left stick's
// pointer motion with its dead zone.
#include "platform/sdl/controllers.h"

#include "platform/sdl/inputtranslation.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace platform
{

namespace
{

// A stick at rest is rarely centred exactly: this much of its travel does nothing.
constexpr double kDeadZone = 0.25;
// Display pixels a second at full lean: across the picture in about 1.3 s.
constexpr double kFullSpeed = 480.0;
// A longer gap between frames (a dialog, a stall) does not become a jump.
constexpr std::uint64_t kLongestStepMicroseconds = 100000;
constexpr double kAxisRange = 32767.0;

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

PointerMotion StickMotion(int axisX, int axisY, std::uint64_t microseconds)
{
    const double x = std::clamp(axisX / kAxisRange, -1.0, 1.0);
    const double y = std::clamp(axisY / kAxisRange, -1.0, 1.0);
    const double lean = std::hypot(x, y);
    if (lean <= kDeadZone)
        return {};
    // Squared beyond the dead zone: fine aim near the centre, speed at the rim.
    const double strength = std::min(1.0, (lean - kDeadZone) / (1.0 - kDeadZone));
    const double seconds =
        static_cast<double>(std::min(microseconds, kLongestStepMicroseconds)) / 1e6;
    const double distance = strength * strength * kFullSpeed * seconds;
    return {x / lean * distance, y / lean * distance};
}

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
    std::uint64_t lastStep = 0;
    double restX = 0;
    double restY = 0;
    bool leaning = false;
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
    return m_pImpl->leaning;
}

POINT Controllers::TakePointerMotion(std::uint64_t nowMicroseconds)
{
    Impl& m = *m_pImpl;
    const std::uint64_t elapsed = m.lastStep == 0 ? 0 : nowMicroseconds - m.lastStep;
    m.lastStep = nowMicroseconds;
    PointerMotion motion;
    for (const Controller& controller : m.open)
    {
        const PointerMotion step = StickMotion(
            SDL_GameControllerGetAxis(controller.get(), SDL_CONTROLLER_AXIS_LEFTX),
            SDL_GameControllerGetAxis(controller.get(), SDL_CONTROLLER_AXIS_LEFTY), elapsed);
        motion.x += step.x;
        motion.y += step.y;
    }
    m.leaning = motion.x != 0 || motion.y != 0;
    if (!m.leaning)
    {
        // A released stick leaves no fraction behind to drift with later.
        m.restX = m.restY = 0;
        return {0, 0};
    }
    m.restX += motion.x;
    m.restY += motion.y;
    const POINT whole{static_cast<LONG>(m.restX), static_cast<LONG>(m.restY)};
    m.restX -= whole.x;
    m.restY -= whole.y;
    return whole;
}

} // namespace platform
