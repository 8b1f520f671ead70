#include "display/errorreport.h"

#include <string>

namespace
{

struct ErrorName
{
    HRESULT code;
    const char* name;
};

// Published result codes: facility 0x876 for DirectDraw, 0x878 for DirectSound,
// plus the generic COM codes both reuse under their own names.
constexpr HRESULT DdCode(DWORD code)
{
    return static_cast<HRESULT>(0x88760000u | code);
}

constexpr HRESULT DsCode(DWORD code)
{
    return static_cast<HRESULT>(0x88780000u | code);
}

constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

constexpr ErrorName kDirectDrawNames[] = {
    {E_NOTIMPL, "DDERR_UNSUPPORTED"},
    {E_FAIL, "DDERR_GENERIC"},
    {CO_E_NOTINITIALIZED, "DDERR_NOTINITIALIZED"},
    {E_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
    {E_INVALIDARG, "DDERR_INVALIDPARAMS"},
    {DdCode(5), "DDERR_ALREADYINITIALIZED"},
    {DdCode(10), "DDERR_CANNOTATTACHSURFACE"},
    {DdCode(20), "DDERR_CANNOTDETACHSURFACE"},
    {DdCode(40), "DDERR_CURRENTLYNOTAVAIL"},
    {DdCode(55), "DDERR_EXCEPTION"},
    {DdCode(90), "DDERR_HEIGHTALIGN"},
    {DdCode(95), "DDERR_INCOMPATIBLEPRIMARY"},
    {DdCode(100), "DDERR_INVALIDCAPS"},
    {DdCode(110), "DDERR_INVALIDCLIPLIST"},
    {DdCode(120), "DDERR_INVALIDMODE"},
    {DdCode(130), "DDERR_INVALIDOBJECT"},
    {DdCode(145), "DDERR_INVALIDPIXELFORMAT"},
    {DdCode(150), "DDERR_INVALIDRECT"},
    {DdCode(160), "DDERR_LOCKEDSURFACES"},
    {DdCode(170), "DDERR_NO3D"},
    {DdCode(180), "DDERR_NOALPHAHW"},
    {DdCode(205), "DDERR_NOCLIPLIST"},
    {DdCode(210), "DDERR_NOCOLORCONVHW"},
    {DdCode(212), "DDERR_NOCOOPERATIVELEVELSET"},
    {DdCode(215), "DDERR_NOCOLORKEY"},
    {DdCode(220), "DDERR_NOCOLORKEYHW"},
    {DdCode(222), "DDERR_NODIRECTDRAWSUPPORT"},
    {DdCode(225), "DDERR_NOEXCLUSIVEMODE"},
    {DdCode(230), "DDERR_NOFLIPHW"},
    {DdCode(240), "DDERR_NOGDI"},
    {DdCode(250), "DDERR_NOMIRRORHW"},
    {DdCode(255), "DDERR_NOTFOUND"},
    {DdCode(260), "DDERR_NOOVERLAYHW"},
    {DdCode(280), "DDERR_NORASTEROPHW"},
    {DdCode(290), "DDERR_NOROTATIONHW"},
    {DdCode(310), "DDERR_NOSTRETCHHW"},
    {DdCode(316), "DDERR_NOT4BITCOLOR"},
    {DdCode(317), "DDERR_NOT4BITCOLORINDEX"},
    {DdCode(320), "DDERR_NOT8BITCOLOR"},
    {DdCode(330), "DDERR_NOTEXTUREHW"},
    {DdCode(335), "DDERR_NOVSYNCHW"},
    {DdCode(340), "DDERR_NOZBUFFERHW"},
    {DdCode(350), "DDERR_NOZOVERLAYHW"},
    {DdCode(360), "DDERR_OUTOFCAPS"},
    {DdCode(380), "DDERR_OUTOFVIDEOMEMORY"},
    {DdCode(382), "DDERR_OVERLAYCANTCLIP"},
    {DdCode(384), "DDERR_OVERLAYCOLORKEYONLYONEACTIVE"},
    {DdCode(387), "DDERR_PALETTEBUSY"},
    {DdCode(400), "DDERR_COLORKEYNOTSET"},
    {DdCode(410), "DDERR_SURFACEALREADYATTACHED"},
    {DdCode(420), "DDERR_SURFACEALREADYDEPENDENT"},
    {DdCode(430), "DDERR_SURFACEBUSY"},
    {DdCode(435), "DDERR_CANTLOCKSURFACE"},
    {DdCode(440), "DDERR_SURFACEISOBSCURED"},
    {DdCode(450), "DDERR_SURFACELOST"},
    {DdCode(460), "DDERR_SURFACENOTATTACHED"},
    {DdCode(470), "DDERR_TOOBIGHEIGHT"},
    {DdCode(480), "DDERR_TOOBIGSIZE"},
    {DdCode(490), "DDERR_TOOBIGWIDTH"},
    {DdCode(510), "DDERR_UNSUPPORTEDFORMAT"},
    {DdCode(520), "DDERR_UNSUPPORTEDMASK"},
    {DdCode(537), "DDERR_VERTICALBLANKINPROGRESS"},
    {DdCode(540), "DDERR_WASSTILLDRAWING"},
    {DdCode(560), "DDERR_XALIGN"},
    {DdCode(561), "DDERR_INVALIDDIRECTDRAWGUID"},
    {DdCode(562), "DDERR_DIRECTDRAWALREADYCREATED"},
    {DdCode(563), "DDERR_NODIRECTDRAWHW"},
    {DdCode(564), "DDERR_PRIMARYSURFACEALREADYEXISTS"},
    {DdCode(565), "DDERR_NOEMULATION"},
    {DdCode(566), "DDERR_REGIONTOOSMALL"},
    {DdCode(567), "DDERR_CLIPPERISUSINGHWND"},
    {DdCode(568), "DDERR_NOCLIPPERATTACHED"},
    {DdCode(569), "DDERR_NOHWND"},
    {DdCode(570), "DDERR_HWNDSUBCLASSED"},
    {DdCode(571), "DDERR_HWNDALREADYSET"},
    {DdCode(572), "DDERR_NOPALETTEATTACHED"},
    {DdCode(573), "DDERR_NOPALETTEHW"},
    {DdCode(574), "DDERR_BLTFASTCANTCLIP"},
    {DdCode(575), "DDERR_NOBLTHW"},
    {DdCode(576), "DDERR_NODDROPSHW"},
    {DdCode(577), "DDERR_OVERLAYNOTVISIBLE"},
    {DdCode(578), "DDERR_NOOVERLAYDEST"},
    {DdCode(579), "DDERR_INVALIDPOSITION"},
    {DdCode(580), "DDERR_NOTAOVERLAYSURFACE"},
    {DdCode(581), "DDERR_EXCLUSIVEMODEALREADYSET"},
    {DdCode(582), "DDERR_NOTFLIPPABLE"},
    {DdCode(583), "DDERR_CANTDUPLICATE"},
    {DdCode(584), "DDERR_NOTLOCKED"},
    {DdCode(585), "DDERR_CANTCREATEDC"},
    {DdCode(586), "DDERR_NODC"},
    {DdCode(587), "DDERR_WRONGMODE"},
    {DdCode(588), "DDERR_IMPLICITLYCREATED"},
    {DdCode(589), "DDERR_NOTPALETTIZED"},
    {DdCode(590), "DDERR_UNSUPPORTEDMODE"},
    {DdCode(591), "DDERR_NOMIPMAPHW"},
    {DdCode(592), "DDERR_INVALIDSURFACETYPE"},
    {DdCode(620), "DDERR_DCALREADYCREATED"},
    {DdCode(640), "DDERR_CANTPAGELOCK"},
    {DdCode(660), "DDERR_CANTPAGEUNLOCK"},
    {DdCode(680), "DDERR_NOTPAGELOCKED"},
};

constexpr ErrorName kDirectSoundNames[] = {
    {DsCode(10), "DSERR_ALLOCATED"},
    {DsCode(30), "DSERR_CONTROLUNAVAIL"},
    {E_INVALIDARG, "DSERR_INVALIDPARAM"},
    {DsCode(50), "DSERR_INVALIDCALL"},
    {E_FAIL, "DSERR_GENERIC"},
    {DsCode(70), "DSERR_PRIOLEVELNEEDED"},
    {E_OUTOFMEMORY, "DSERR_OUTOFMEMORY"},
    {DsCode(100), "DSERR_BADFORMAT"},
    {E_NOTIMPL, "DSERR_UNSUPPORTED"},
    {DsCode(120), "DSERR_NODRIVER"},
    {DsCode(130), "DSERR_ALREADYINITIALIZED"},
    {CLASS_E_NOAGGREGATION, "DSERR_NOAGGREGATION"},
    {DsCode(150), "DSERR_BUFFERLOST"},
    {DsCode(160), "DSERR_OTHERAPPHASPRIO"},
    {DsCode(170), "DSERR_UNINITIALIZED"},
};

template <std::size_t N> const char* Lookup(const ErrorName (&table)[N], HRESULT result)
{
    for (const ErrorName& entry : table)
        if (entry.code == result)
            return entry.name;
    return "Unknown Error";
}

// The box is modal; the quit request then ends the main loop when it gets there.
void ShowAndQuit(HWND owner, const std::string& message)
{
    MessageBoxA(owner, message.c_str(), "Error", MB_OK);
    PostQuitMessage(0);
}

} // namespace

const char* DirectDrawErrorName(HRESULT result)
{
    return Lookup(kDirectDrawNames, result);
}

const char* DirectSoundErrorName(HRESULT result)
{
    return Lookup(kDirectSoundNames, result);
}

void ReportDirectDrawError(HRESULT result, HWND owner, const char* file, int line)
{
    // Composed as a string so that no file name can overrun a fixed buffer.
    std::string message = "DirectDraw Error ";
    message += DirectDrawErrorName(result);
    message += "\nFILE: ";
    message += file ? file : "";
    message += "\nLINE: ";
    message += std::to_string(line);
    ShowAndQuit(owner, message);
}

void ReportDirectSoundError(HRESULT result, HWND owner)
{
    ShowAndQuit(owner, std::string("DirectSound Error ") + DirectSoundErrorName(result));
}
