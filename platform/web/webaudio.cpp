// Opening the page's sound output and answering its pulls.
#include "platform/web/webaudio.h"

#include "platform/web/pagecalls.h"

#include <emscripten.h>

namespace platform
{

std::unique_ptr<WebAudio> WebAudio::Open(Source source, void* context)
{
    if (s_pCurrent != nullptr)
        return nullptr; // the page has one output
    const int rate = tz_page_open_audio();
    if (rate <= 0)
        return nullptr;
    std::unique_ptr<WebAudio> audio(new WebAudio);
    audio->m_Source = source;
    audio->m_pContext = context;
    audio->m_nRate = rate;
    s_pCurrent = audio.get();
    return audio;
}

WebAudio::~WebAudio()
{
    tz_page_close_audio();
    s_pCurrent = nullptr;
}

const std::int16_t* WebAudio::Fill(int frames, int channels)
{
    m_Samples.resize(static_cast<std::size_t>(frames) * channels);
    m_Source(m_pContext, m_Samples.data(), frames, channels);
    return m_Samples.data();
}

} // namespace platform

// The page's pull of frames x channels samples; null while there is no output.
extern "C" EMSCRIPTEN_KEEPALIVE const std::int16_t* tamzelon_audio_fill(int frames, int channels)
{
    platform::WebAudio* audio = platform::WebAudio::Current();
    return audio != nullptr && frames > 0 && channels > 0 ? audio->Fill(frames, channels) : nullptr;
}
