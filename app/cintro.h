// The intro shown once at start: the logo, then the presents picture, each
// centred on the black display for a fixed time.
#pragma once

class CdxScreen;
class CdxSurface;

class CIntro
{
public:
    CIntro() = default;
    virtual ~CIntro();
    CIntro(const CIntro&) = delete;
    CIntro& operator=(const CIntro&) = delete;

    // Borrowed; without a display the intro shows nothing.
    void SetScreen(CdxScreen* screen);
    // Blocks for 2.5 + 1.5 seconds; its two images live only for this call.
    void Run();

private:
    void ShowCentred(CdxSurface* image, unsigned milliseconds);
    void ReleaseImages();

    CdxSurface* m_pLogo = nullptr;
    CdxSurface* m_pPresents = nullptr;
    CdxScreen* m_pScreen = nullptr;
};
