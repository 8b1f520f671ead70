// Composes each frame's scene from what its screen draws, and keeps the last
// scene that stood still, so that a frame in which only the crosshair or a
// menu's highlight moved is mended instead of drawn again.
#pragma once
#include "display/cscenerecording.h"
#include "platform/ddraw/ddraw.h"

#include <functional>
#include <stdexcept>
#include <vector>

class CdxScreen;

class CSceneCache
{
public:
    // A mended frame that differs from the same frame drawn whole.
    class Stale : public std::logic_error
    {
    public:
        using std::logic_error::logic_error;
    };

    // Checks every mended frame in debug builds, and in any build when the
    // environment says TZ_CHECK_MENDED_FRAMES=1 (0 turns it off).
    CSceneCache();
    ~CSceneCache();
    CSceneCache(const CSceneCache&) = delete;
    CSceneCache& operator=(const CSceneCache&) = delete;

    // Puts the scene that draw draws into the back buffer. draw runs once,
    // while the back buffer records it; frames that record the same calls in
    // a row show the same scene, which is kept once it has stood still. The
    // back buffer is mended into the scene where the one it holds differs
    // only under the last overlay and in the looks of slots kept; otherwise
    // the recording is played. With the check, a mended frame is drawn whole
    // once more and compared: a difference raises Stale, naming the screen
    // and the first pixel.
    void Compose(CdxScreen* screen, const char* screenName, const std::function<void()>& draw);
    // What this frame drew above its scene.
    void Overlaid(const RECT& overlay) { m_Composed.overlay = overlay; }
    // After the flip, which traded the frame just composed for the one before.
    void Flipped(CdxScreen* screen, HRESULT result);
    // Forgets everything, the kept scene's memory included.
    void Forget();
    // Frames mended so far.
    int Mended() const { return m_nMended; }

private:
    using Looks = std::vector<SceneCall>;
    // What one buffer of the flip chain holds: a scene with an overlay on it.
    struct Frame
    {
        unsigned scene = 0;
        Looks looks;
        RECT overlay{};
        bool known = false;
    };

    // Forgets the buffers that changed since the last flip, and the kept
    // pixels if their memory was lost.
    void CheckBuffers(CdxScreen* screen);
    // Makes the back buffer hold this frame's scene by copying back where the
    // overlay of its frame lay and the slots whose look changed; false when
    // that is not known to be enough.
    bool Restore(CdxScreen* screen, const Looks& looks);
    // The back buffer holds this frame's scene, drawn whole.
    void Drawn(CdxScreen* screen, const Looks& looks);
    bool Keep(CdxScreen* screen, const Looks& looks);
    void KeepOtherLooks(CdxScreen* screen, const Looks& looks);
    void Check(CdxScreen* screen, const char* screenName);

    bool m_bCheck;
    CSceneRecording m_Recording;
    // Frames whose recordings are the same in a row share their scene's number.
    unsigned m_nScene = 0;
    unsigned m_nScenes = 0;
    int m_nMended = 0;

    IDirectDrawSurface4* m_pScene = nullptr;
    unsigned m_nKept = 0; // the kept scene's number, 0 for none
    Looks m_KeptLooks;
    // Each slot of the kept scene in another look, where m_OtherKept says so.
    IDirectDrawSurface4* m_pOtherLooks = nullptr;
    Looks m_OtherLooks;
    std::vector<bool> m_OtherKept;
    unsigned m_nLastDrawn = 0;
    int m_nDrawnInARow = 0;
    Frame m_Composed, m_Front, m_Back;
    DWORD m_nFrontUniqueness = 0;
    DWORD m_nBackUniqueness = 0;
    // The mended picture, set aside while the check draws the frame whole.
    IDirectDrawSurface4* m_pChecked = nullptr;
};
