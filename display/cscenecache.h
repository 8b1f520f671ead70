// Keeps the last scene that stood still, so that a frame in which only the
// crosshair or a menu's highlight moved is mended instead of drawn again.
#pragma once
#include "platform/ddraw/ddraw.h"

#include <vector>

class CdxScreen;

class CSceneCache
{
public:
    // Everything a scene's pixels follow from, but which of its slots is
    // selected; equal keys and selections draw equal pixels. An empty key is
    // never kept.
    using Key = std::vector<int>;
    // The parts of a scene with two looks, a menu's items: the selected one
    // hot, the others normal. A slot's pixels follow from the key and its own
    // look alone. Slots that overlap are not mended one by one: their
    // selection then counts as part of the key.
    struct Slots
    {
        std::vector<RECT> rects;
        int selected = -1;
    };

    CSceneCache() = default;
    ~CSceneCache();
    CSceneCache(const CSceneCache&) = delete;
    CSceneCache& operator=(const CSceneCache&) = delete;

    // Makes the back buffer hold the scene of key with that selection, by
    // copying back where the overlay of its frame lay and the slots whose look
    // changed. False when that is not known to be enough: the scene must then
    // be drawn whole. Asked first in every frame, before anything is drawn.
    bool Restore(CdxScreen* screen, Key key, Slots slots);
    // The back buffer holds the scene of key, drawn whole. A scene drawn the
    // same a few times in a row stands still and is kept; a kept scene's
    // slots are also kept in the look it does not show them in.
    void Drawn(CdxScreen* screen, Key key, Slots slots);
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
        int selected = -1;
        RECT overlay{};
        bool known = false;
    };

    // Forgets the buffers that changed since the last flip, and the kept
    // pixels if their memory was lost.
    void CheckBuffers(CdxScreen* screen);
    bool IsKept(const Key& key, const Slots& slots) const;
    bool Keep(CdxScreen* screen, const Key& key, const Slots& slots);
    void KeepOtherLooks(CdxScreen* screen, int selected);

    IDirectDrawSurface4* m_pScene = nullptr;
    Key m_SceneKey;
    Slots m_SceneSlots;
    // Each slot of the kept scene in its other look, where m_OtherKept says so.
    IDirectDrawSurface4* m_pOtherLooks = nullptr;
    std::vector<bool> m_OtherKept;
    Key m_LastDrawn;
    int m_nDrawnInARow = 0;
    Frame m_Composed, m_Front, m_Back;
    DWORD m_nFrontUniqueness = 0;
    DWORD m_nBackUniqueness = 0;
};
