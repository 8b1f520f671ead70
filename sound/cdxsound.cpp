// Creating the sound device on the frame window.
#include "sound/cdxsound.h"

#include "sound/cdxsounderror.h"
#include "sound/dsounderrorreport.h"

CdxSound::CdxSound() = default;

CdxSound::~CdxSound()
{
    if (m_pDS != nullptr)
        m_pDS->Release();
}

bool CdxSound::Create(HWND window)
{
    if (m_pDS != nullptr)
    {
        m_pDS->Release();
        m_pDS = nullptr;
    }
    HRESULT result = DirectSoundCreate(nullptr, &m_pDS, nullptr);
    if (FAILED(result))
        ReportDirectSoundError(result, window);
    if (m_pDS == nullptr)
        throw CdxSoundError("no sound device");

    // Without the level the device still plays; the player has been told.
    result = m_pDS->SetCooperativeLevel(window, DSSCL_NORMAL);
    if (FAILED(result))
        ReportDirectSoundError(result, window);
    return true;
}
