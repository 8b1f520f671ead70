// The page's sound output: the browser's audio context pulls the mixed
// frames from the program whenever it wants more. Until the player's first
// click or key the browser holds it silent, and nothing is pulled meanwhile.
#pragma once

#include "platform/win32/backend.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform
{

class WebAudio final : public AudioOutput
{
public:
    // Null when the page has no sound output.
    static std::unique_ptr<WebAudio> Open(Source source, void* context);
    ~WebAudio() override;
    WebAudio(const WebAudio&) = delete;
    WebAudio& operator=(const WebAudio&) = delete;

    int Rate() const override { return m_nRate; }
    // One thread: the page pulls only while the program waits.
    void Lock() override {}
    void Unlock() override {}

    // The page's pull: frames x channels samples, valid until the next pull.
    const std::int16_t* Fill(int frames, int channels);
    static WebAudio* Current() { return s_pCurrent; }

private:
    WebAudio() = default;

    static inline WebAudio* s_pCurrent = nullptr;
    Source m_Source = nullptr;
    void* m_pContext = nullptr;
    int m_nRate = 0;
    std::vector<std::int16_t> m_Samples;
};

} // namespace platform
