// The back end of the tests, and of a program before it has another: no area
// to show anything in, input only what a test injects (in picture pixels, as
// if the area were the picture), and waits that pass on the clock.
#pragma once

#include "platform/win32/backend.h"

namespace platform
{

class HeadlessBackEnd : public BackEnd
{
public:
    bool CanShow() override { return false; }
    bool Open(int, int) override { return false; }
    void Close() override {}
    bool SwitchScreenMode(ScreenMode) override { return false; }
    void SetIcon(int, int, std::span<const std::uint32_t>) override {}
    int RefreshRate() const override { return kDefaultRefreshRate; }
    bool PacedByVsync() const override { return false; }

    bool ScalesItself() const override { return true; }
    PixelFormat32 UploadFormat() const override { return {}; }
    bool Upload(const RECT&, const std::uint32_t*, int) override { return false; }
    bool ShowPicture(const View&) override { return false; }
    bool LockArea(AreaPixels&) override { return false; }
    bool ShowArea(std::span<const RECT>) override { return false; }
    void AreaSize(int& width, int& height) override { width = height = 0; }

    bool WaitForInput(int timeoutMs) override;
    void TakeInput(std::vector<InputEvent>& events) override;
    void ShowPointer(bool) override {}
    void WarpPointer(int, int) override {}

    std::unique_ptr<AudioOutput> OpenAudio(AudioOutput::Source, void*) override { return nullptr; }
    bool KeepFile(const char*) override { return true; } // the files stay where they are
};

} // namespace platform
