// Recording the calls of a frame over those of the frame before, and playing them.
#include "display/cscenerecording.h"

#include "display/cdxsurface.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace
{

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

CSceneRecording::Slots::Slots(CdxSurface* surface)
    : m_pRecording(surface ? surface->Recording() : nullptr)
{
    if (m_pRecording)
        m_pRecording->m_bInSlots = true;
}

CSceneRecording::Slots::~Slots()
{
    if (m_pRecording)
        m_pRecording->m_bInSlots = false;
}

void CSceneRecording::Begin()
{
    // Keeps the memory: a frame records about as much as the one before.
    m_Calls.swap(m_LastCalls);
    m_Calls.clear();
    m_Texts.swap(m_LastTexts);
    m_Texts.clear();
    m_Looks.swap(m_LastLooks);
    m_Looks.clear();
    m_bChanged = false;
    m_bInSlots = false;
}

void CSceneRecording::Add(const SceneCall& call)
{
    if (!m_bInSlots || (call.kind != SceneCall::BLT && call.kind != SceneCall::BLT_FAST))
    {
        Store(call);
        return;
    }
    // A slot stands in the calls by kind and place; its look is kept aside.
    m_Looks.push_back(call);
    m_Looks.back().slot = true;
    SceneCall place;
    place.kind = call.kind;
    place.slot = true;
    place.dest = call.dest;
    Store(place);
}

void CSceneRecording::AddText(int x, int y, COLORREF colour, const char* text)
{
    SceneCall call;
    call.kind = SceneCall::PRINT_TEXT;
    call.dest = {x, y, x, y};
    call.value = colour;
    call.textStart = static_cast<std::uint32_t>(m_Texts.size());
    call.textLength = static_cast<std::uint32_t>(std::strlen(text));
    // With its zero, so that the text ends where the last one's did.
    const std::string_view added(text, call.textLength + 1);
    m_Texts.append(added);
    if (std::string_view(m_LastTexts)
            .substr(std::min<std::size_t>(call.textStart, m_LastTexts.size()), added.size()) !=
        added)
        m_bChanged = true;
    Add(call);
}

bool CSceneRecording::Finish()
{
    if (m_Calls.size() != m_LastCalls.size() || m_Texts.size() != m_LastTexts.size())
        m_bChanged = true;
    m_bSlotsInKey = false;
    for (std::size_t i = 0; i < m_Looks.size() && !m_bSlotsInKey; ++i)
        for (std::size_t j = i + 1; j < m_Looks.size(); ++j)
            if (Overlap(SlotRect(m_Looks[i]), SlotRect(m_Looks[j])))
                m_bSlotsInKey = true;
    if (m_bSlotsInKey && m_Looks != m_LastLooks)
        m_bChanged = true;
    return m_bChanged;
}

void CSceneRecording::Clear()
{
    m_Calls.clear();
    m_LastCalls.clear();
    m_Texts.clear();
    m_LastTexts.clear();
    m_Looks.clear();
    m_LastLooks.clear();
    m_bChanged = true;
}

bool CSceneRecording::CoversAll(int width, int height) const
{
    return !m_Calls.empty() && m_Calls.front().kind == SceneCall::BLT &&
           (m_Calls.front().flags & DDBLT_COLORFILL) != 0 &&
           m_Calls.front().dest == SceneCall::Rect{0, 0, width, height};
}

const std::vector<SceneCall>& CSceneRecording::Looks() const
{
    static const std::vector<SceneCall> none;
    return m_bSlotsInKey ? none : m_Looks;
}

void CSceneRecording::Play(CdxSurface* surface) const
{
    auto look = m_Looks.begin();
    for (const SceneCall& call : m_Calls)
        surface->Perform(call.slot ? *look++ : call, m_Texts.c_str() + call.textStart);
}

RECT SlotRect(const SceneCall& call)
{
    return {call.dest[0], call.dest[1], call.dest[2], call.dest[3]};
}
