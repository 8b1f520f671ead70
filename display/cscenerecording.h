// What a screen draws into the back buffer in one frame, recorded call by call
// instead of drawn. Equal recordings draw equal pixels, so the recording is the
// scene's key; played, it draws the scene.
#pragma once

#include "platform/ddraw/ddraw.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CdxSurface;

// One call of the display layer into a surface, with everything its pixels
// follow from.
struct SceneCall
{
    enum Kind : std::uint8_t
    {
        BLT,
        BLT_FAST,
        GET_DC,
        PRINT_TEXT,
        RELEASE_DC,
    };
    using Rect = std::array<LONG, 4>; // left, top, right, bottom

    // Whose operation it was (it mends a lost image), and its pixels: the
    // surface and its uniqueness when the call was made.
    CdxSurface* image = nullptr;
    IDirectDrawSurface4* source = nullptr;
    // Where the call draws (BltFast and text: x and y first).
    Rect dest{};
    Rect sourceRect{};
    DWORD flags = 0;
    DWORD uniqueness = 0;
    // The fill colour, the mirror effect or the text colour, as kind and flags say.
    DWORD value = 0;
    // The text, in the recording's texts.
    std::uint32_t textStart = 0;
    std::uint32_t textLength = 0;
    Kind kind = BLT;
    // Drawn as a slot: one of the parts with several looks (a menu's items).
    bool slot = false;
    bool hasDest = false;
    bool hasSource = false;

    // A BltFast of the source's rectangle from to (x, y).
    static SceneCall Fast(CdxSurface* image, IDirectDrawSurface4* source, DWORD uniqueness, LONG x,
                          LONG y, const RECT& from, DWORD flags)
    {
        SceneCall call;
        call.kind = BLT_FAST;
        call.hasDest = call.hasSource = true;
        call.flags = flags;
        call.image = image;
        call.source = source;
        call.uniqueness = uniqueness;
        call.dest = {x, y, x + (from.right - from.left), y + (from.bottom - from.top)};
        call.sourceRect = {from.left, from.top, from.right, from.bottom};
        return call;
    }
    // A Blt into the rectangle dest (null: all of the destination) from the
    // source's rectangle from (null: all of it).
    static SceneCall Blit(CdxSurface* image, IDirectDrawSurface4* source, const RECT* dest,
                          const RECT* from, DWORD flags, DWORD value)
    {
        SceneCall call;
        call.flags = flags;
        call.image = image;
        call.source = source;
        call.value = value;
        if ((call.hasDest = dest != nullptr))
            call.dest = {dest->left, dest->top, dest->right, dest->bottom};
        if ((call.hasSource = from != nullptr))
            call.sourceRect = {from->left, from->top, from->right, from->bottom};
        return call;
    }

    // Every field, without a branch. A call just built is compared by the
    // values of its fields, not by its bytes, which may not have been stored yet.
    bool operator==(const SceneCall& o) const
    {
        const auto bits = [](auto value) { return static_cast<std::uint64_t>(value); };
        std::uint64_t differ = bits(reinterpret_cast<std::uintptr_t>(image) ^
                                    reinterpret_cast<std::uintptr_t>(o.image)) |
                               bits(reinterpret_cast<std::uintptr_t>(source) ^
                                    reinterpret_cast<std::uintptr_t>(o.source));
        for (std::size_t i = 0; i < dest.size(); ++i)
            differ |= bits(static_cast<DWORD>(dest[i] ^ o.dest[i]) |
                           static_cast<DWORD>(sourceRect[i] ^ o.sourceRect[i]));
        differ |= bits(flags ^ o.flags) | bits(uniqueness ^ o.uniqueness) | bits(value ^ o.value) |
                  bits(textStart ^ o.textStart) | bits(textLength ^ o.textLength) |
                  bits(kind ^ o.kind) | bits(slot != o.slot) | bits(hasDest != o.hasDest) |
                  bits(hasSource != o.hasSource);
        return differ == 0;
    }
};

// Each frame is recorded whole, and compared with the recording of the frame
// before as it is made. What is played is always what was drawn, whatever
// the comparison said.
class CSceneRecording
{
public:
    // While it lasts, every blit recorded into the surface's recording is a slot.
    class Slots
    {
    public:
        explicit Slots(CdxSurface* surface);
        ~Slots();
        Slots(const Slots&) = delete;
        Slots& operator=(const Slots&) = delete;

    private:
        CSceneRecording* m_pRecording;
    };

    // Starts the next frame's recording; this one becomes the last.
    void Begin();
    void Add(const SceneCall& call);
    // The same as Add of SceneCall::Fast, inline for the calls of which a
    // frame has hundreds: the call is compared by the values of its fields
    // before it is stored, not read back from bytes just stored (slow).
    void AddFast(CdxSurface* image, IDirectDrawSurface4* source, DWORD uniqueness, LONG x, LONG y,
                 const RECT& from, DWORD flags)
    {
        if (m_bInSlots)
            Add(SceneCall::Fast(image, source, uniqueness, x, y, from, flags));
        else
            Store(SceneCall::Fast(image, source, uniqueness, x, y, from, flags));
    }
    void AddText(int x, int y, COLORREF colour, const char* text);
    // After the last call: slots that overlap are not mended one by one, so
    // their looks become part of the key. True when the recording differs from
    // the one before but for the looks of its slots.
    bool Finish();
    // Nothing recorded, and the next recording differs.
    void Clear();

    // Whether it begins by covering the whole surface of that size; if not,
    // its pixels follow from whatever the surface held before, too.
    bool CoversAll(int width, int height) const;
    // The slots' calls, in the order they were drawn.
    const std::vector<SceneCall>& Looks() const;
    // Makes the calls into the surface.
    void Play(CdxSurface* surface) const;

private:
    void Store(const SceneCall& call)
    {
        const std::size_t at = m_Calls.size();
        if (!m_bChanged && !(at < m_LastCalls.size() && m_LastCalls[at] == call))
            m_bChanged = true;
        m_Calls.push_back(call);
    }

    // A slot stands in the calls by kind and place; its look is kept aside.
    std::vector<SceneCall> m_Calls, m_LastCalls;
    std::vector<SceneCall> m_Looks, m_LastLooks;
    // Each text with its terminating zero.
    std::string m_Texts, m_LastTexts;
    bool m_bChanged = true;
    bool m_bSlotsInKey = false;
    bool m_bInSlots = false;
};

// The rectangle a slot's call draws into.
RECT SlotRect(const SceneCall& call);
