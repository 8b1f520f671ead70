// Choosing and drawing the line of comment for a shot.
#include "game/ccomment.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"

#include <cstdlib>
#include <span>

namespace
{

// By design: the lines are the game's own, blanks before the marks and
// spelling included.
const char* const TAUNTS_TWO[] = {
    "2 nur !? Da ist ja meine Oma besser!!",
    "2 mickrige Steine!!",
    "Sogar nen Schimpanse kriegt mehr als 2!!",
};
const char* const TAUNTS_UP_TO_5[] = {
    "Na ja ... %d nur.",
    "Also , mehr als %d h\xE4tten es aber sein k\xF6nnen!!",
    "Mach mal was Anst\xE4ndiges ! Nicht %d , du!",
};
const char* const TAUNTS_UP_TO_10[] = {
    "Ja , ja ... das geht eigentlich , %d.",
    "%d ! Das h\xE4tte ich gar nicht von dir erwartet !",
    "Mehr ! Viel mehr als nur %d.",
};
const char* const TAUNTS_UP_TO_20[] = {
    ("Das \xFC" // split: the b would belong to the escape
     "berrascht aber , dass du %d schaffst!"),
    "Nicht schlecht , nicht schlecht deine %d.",
    "Was f\xFCr ne mickrige Zahl %d ! Peh , %d!",
    "Ja . Knall die Steine alle ab !! Nicht nur %d",
    "Du wirst doch wohl mehr als %d schaffen ?!",
};
const char* const TAUNTS_UP_TO_30[] = {
    "%d ! Du wirst besser !!",
    "Ich will mehr als %d !!",
    "Was !! %d !! Mensch !! Du?!",
};
const char* const TAUNTS_MORE[] = {
    "%d . Ich hab mich in dir get\xE4uscht !!",
    "Wenn du schon %d schaffst , dann mach noch mehr !!",
    "Nicht schlecht !! %d . Aber das geht auch besser oder ?",
};

std::span<const char* const> TauntsFor(int count)
{
    // Tested in this order; counts below 2 land with the small ones.
    if (count == 2)
        return TAUNTS_TWO;
    if (count <= 5)
        return TAUNTS_UP_TO_5;
    if (count <= 10)
        return TAUNTS_UP_TO_10;
    if (count <= 20)
        return TAUNTS_UP_TO_20;
    if (count <= 30)
        return TAUNTS_UP_TO_30;
    return TAUNTS_MORE;
}

} // namespace

void CComment::SetPosition(int x, int y)
{
    m_nX = x;
    m_nY = y;
}

void CComment::Set(int count, CString text)
{
    m_nCount = count;
    m_strRequest = text;
    if (!m_strRequest.IsEmpty())
        m_strText = m_strRequest;
    else
        ChooseTaunt();
}

void CComment::ChooseTaunt()
{
    const std::span<const char* const> lines = TauntsFor(m_nCount);
    const char* line = lines[static_cast<std::size_t>(std::rand()) % lines.size()];
    // One line takes the count twice; the others ignore the spare argument.
    m_strText.Format(line, m_nCount, m_nCount);
}

void CComment::Draw(CdxScreen* screen)
{
    CdxSurface* back = screen->m_pBackSurface;
    back->GetDC();
    back->PrintText(m_nX, m_nY, 255, m_strText);
    back->ReleaseDC();
}
