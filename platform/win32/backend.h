// What a back end (the desktop's window, a browser's canvas, or none at all
// in the tests) does for the presenting room, which does the rest once for
// all of them: what changed, the sharp scaling, the pointer's mapping,
// pacing and idling. Positions and sizes are the area's own pixels unless
// they are called picture pixels.
#pragma once

#include "platform/win32/inputevent.h"
#include "platform/win32/screenmode.h"
#include "platform/win32/win32.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform
{

// The picture's place in the area: as large as fits, aspect kept, centred,
// scaled by the whole multiple with nearest neighbour and the rest smoothly.
struct View
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int whole = 1; // the nearest-neighbour multiple, at least 1
};

// Where the 8-bit channels of a 32-bit pixel lie; alpha, if any, is opaque.
struct PixelFormat32
{
    std::uint32_t red = 0x00FF0000;
    std::uint32_t green = 0x0000FF00;
    std::uint32_t blue = 0x000000FF;
    std::uint32_t alpha = 0xFF000000;
};

// The area's own pixels, which the presenting room scales the picture into.
struct AreaPixels
{
    std::uint8_t* pixels = nullptr;
    int pitch = 0; // bytes from row to row
    int width = 0;
    int height = 0;
    PixelFormat32 format;
    bool fresh = false; // new memory (the first, or after a size change), not yet drawn
};

// The sound output a back end opens: it asks its source for 16-bit frames
// at its own rate and channel count, whenever it wants them.
class AudioOutput
{
public:
    // Fills out with frames x channels interleaved samples.
    using Source = void (*)(void* context, std::int16_t* out, int frames, int channels);

    virtual ~AudioOutput() = default;
    virtual int Rate() const = 0;
    // Holds off the source's calls while the data it reads changes.
    virtual void Lock() = 0;
    virtual void Unlock() = 0;
};

class BackEnd
{
public:
    virtual ~BackEnd() = default;

    // The area: whether a player could see one at all (a display server is
    // there); opened for a picture of that size, or fitted to it, and false
    // when refused; closed to give the screen back.
    virtual bool CanShow() = 0;
    virtual bool Open(int pictureWidth, int pictureHeight) = 0;
    virtual void Close() = 0;
    // Full screen or a window; false when the system refused.
    virtual bool SwitchScreenMode(ScreenMode mode) = 0;
    // ARGB rows from the top, kept for an area made later.
    virtual void SetIcon(int width, int height, std::span<const std::uint32_t> argb) = 0;
    virtual int RefreshRate() const = 0;
    // Showing waits for the vertical blank (while the presenting room trusts it).
    virtual bool PacedByVsync() const = 0;

    // Showing, one of two ways. A back end that scales itself takes the
    // picture's changed rectangles in UploadFormat and shows the picture at
    // the view; any other lends the area's pixels, and shows the rectangles
    // of the area that were drawn (none: all of it). False when the area
    // could not take the picture.
    virtual bool ScalesItself() const = 0;
    virtual PixelFormat32 UploadFormat() const = 0;
    virtual bool Upload(const RECT& rect, const std::uint32_t* pixels, int pitch) = 0;
    virtual bool ShowPicture(const View& view) = 0;
    virtual bool LockArea(AreaPixels& area) = 0;
    virtual bool ShowArea(std::span<const RECT> rects) = 0;
    // The size the view is fitted into.
    virtual void AreaSize(int& width, int& height) = 0;

    // Input: waits up to timeoutMs (kWaitForever: without a limit) until
    // input waits, leaving it there; takes everything that waits, in order.
    virtual bool WaitForInput(int timeoutMs) = 0;
    virtual void TakeInput(std::vector<InputEvent>& events) = 0;
    // The system's own pointer over the area.
    virtual void ShowPointer(bool visible) = 0;
    virtual void WarpPointer(int x, int y) = 0;

    // Sound: the output, or null when there is none for us.
    virtual std::unique_ptr<AudioOutput> OpenAudio(AudioOutput::Source source, void* context) = 0;
    // Files: a file the game has just committed stays beyond this run
    // (where files are not kept by themselves); false when it may not.
    virtual bool KeepFile(const char* path) = 0;
};

// The back end of the program as it is built (the desktop's or the browser's).
std::unique_ptr<BackEnd> MakeBackEnd();

// A wait without a limit: until something comes.
constexpr int kWaitForever = -1;
// The refresh rate where no display tells one.
constexpr int kDefaultRefreshRate = 60;
// Where nothing can come (no area open), such a wait looks again after this.
constexpr int kLookAgainMs = 100;

} // namespace platform
