// The DirectSound failure box: the name of the failed call's result code.
#include "sound/dsounderrorreport.h"

#include "platform/win32/resultname.h"

#include <string>

namespace
{

// The generic COM codes DirectSound shares carry its own names here.
constexpr platform::ResultName kDirectSoundNames[] = {
    TZ_RESULT_NAME(DSERR_ALLOCATED),
    TZ_RESULT_NAME(DSERR_CONTROLUNAVAIL),
    TZ_RESULT_NAME(DSERR_INVALIDPARAM),
    TZ_RESULT_NAME(DSERR_INVALIDCALL),
    TZ_RESULT_NAME(DSERR_GENERIC),
    TZ_RESULT_NAME(DSERR_PRIOLEVELNEEDED),
    TZ_RESULT_NAME(DSERR_OUTOFMEMORY),
    TZ_RESULT_NAME(DSERR_BADFORMAT),
    TZ_RESULT_NAME(DSERR_UNSUPPORTED),
    TZ_RESULT_NAME(DSERR_NODRIVER),
    TZ_RESULT_NAME(DSERR_ALREADYINITIALIZED),
    TZ_RESULT_NAME(DSERR_NOAGGREGATION),
    TZ_RESULT_NAME(DSERR_BUFFERLOST),
    TZ_RESULT_NAME(DSERR_OTHERAPPHASPRIO),
    TZ_RESULT_NAME(DSERR_UNINITIALIZED),
};

} // namespace

const char* DirectSoundErrorName(HRESULT result)
{
    return platform::NameOfResult(kDirectSoundNames, result);
}

void ReportDirectSoundError(HRESULT result, HWND owner)
{
    const std::string message = std::string("DirectSound Error ") + DirectSoundErrorName(result);
    // The box is modal; the quit request then ends the main loop when it gets there.
    MessageBoxA(owner, message.c_str(), "Error", MB_OK);
    PostQuitMessage(0);
}
