// Game controllers: opened when plugged in (also those present at start),
// closed when pulled out. Their buttons become keys in the input translation;
// the left stick moves the pointer here, a little every frame.
#pragma once

#include "platform/win32/inputevent.h"
#include "platform/win32/stickpointer.h"

#include <cstdint>
#include <memory>
#include <string_view>

union SDL_Event;

namespace platform
{

// The input event a press of the controller button that SDL names so ("a",
// "start", "dpup") becomes; for tests, which do not see SDL.
InputEvent ControllerButtonEvent(std::string_view name);

class Controllers
{
public:
    Controllers();
    ~Controllers();
    Controllers(const Controllers&) = delete;
    Controllers& operator=(const Controllers&) = delete;

    // Starts listening for controllers; those plugged in already are announced.
    void Start();
    // Opens and closes controllers as they come and go; other events pass.
    void Handle(const SDL_Event& event);
    // Whole pixels the stick moved the pointer since the last call; the
    // fraction is kept for the next one, so slow motion is smooth too.
    POINT TakePointerMotion(std::uint64_t nowMicroseconds);
    // A stick leaned beyond its dead zone at the last call: the pointer is
    // moving, also in frames where it moved less than a pixel.
    bool StickLeaning() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

} // namespace platform
