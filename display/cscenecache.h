// Keeps the last scene that stood still, so that a frame in which only the
// crosshair moved is mended where the crosshair was instead of drawn again.
#pragma once
#include "platform/ddraw/ddraw.h"

#include <vector>

class CdxScreen;

class CSceneCache
{
public:
    // Everything a scene's pixels follow from; equal keys draw equal pixels.
    // An empty key is never kept.
    using Key = std::vector<int>;

    CSceneCache() = default;
    ~CSceneCache();
    CSceneCache(const CSceneCache&) = delete;
    CSceneCache& operator=(const CSceneCache&) = delete;

    // Makes the back buffer hold the scene of key by copying it back where
    // the overlay of its frame lay. False, with the back buffer untouched,
    // when that is not known to be enough: the scene must then be drawn whole.
    // Asked first in every frame, before anything is drawn.
    bool Restore(CdxScreen* screen, const Key& key);
    // The back buffer holds the scene of key, drawn whole. A scene drawn the
    // same a few times in a row stands still and is kept.
    void Drawn(CdxScreen* screen, const Key& key);
    // What this frame drew above its scene.
    void Overlaid(const RECT& overlay) { m_Composed.overlay = overlay; }
    // After the flip, which traded the frame just composed for the one before.
    void Flipped(CdxScreen* screen, HRESULT result);
    // Forgets everything, the kept scene's memory included.
    void Forget();

private:
    // What one buffer of the flip chain holds: a scene with an overlay on it.
    struct Frame
    {
        Key key;
        RECT overlay{};
        bool known = false;
    };

    // Forgets the buffers that changed since the last flip.
    void CheckBuffers(CdxScreen* screen);
    bool Keep(CdxScreen* screen, const Key& key);

    IDirectDrawSurface4* m_pScene = nullptr;
    Key m_SceneKey;
    Key m_LastDrawn;
    int m_nDrawnInARow = 0;
    Frame m_Composed, m_Front, m_Back;
    DWORD m_nFrontUniqueness = 0;
    DWORD m_nBackUniqueness = 0;
};
