// A stone's colour and its drawing.
#include "game/cstone.h"

#include "display/cdxscreen.h"
#include "display/cdxsurface.h"

void CStone::Draw(CdxScreen* screen, int x, int y)
{
    m_pImage->DrawFastKeyed(x, y, screen->m_pBackSurface);
}
