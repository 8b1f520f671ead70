// Running a modal dialog from its template: its loop, its commands and its answer.
#include "platform/framework/cdialog.h"

#include "platform/framework/dialogtemplate.h"
#include "platform/framework/dialogwindow.h"
#include "platform/framework/messagepump.h"
#include "platform/framework/modaloverlay.h"
#include "platform/present/display.h"
#include "platform/win32/testseams.h"

#include <stdexcept>
#include <string>

namespace
{

// A test's answerer that never ends a dialog would otherwise hang the test.
constexpr int kMaxAnswers = 1000;

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

int CDialog::DoModal()
{
    if (m_hWnd != nullptr)
        return -1; // already open
    std::optional<platform::DialogTemplate> dialogTemplate;
    try
    {
        dialogTemplate = platform::DialogTemplate::Load(m_nIDTemplate);
    }
    catch (const std::runtime_error& error)
    {
        OutputDebugStringA(("Dialog template " + std::to_string(m_nIDTemplate) +
                            " is damaged: " + error.what() + "\n")
                               .c_str());
        return -1;
    }
    if (!dialogTemplate)
        return -1;

    m_bEnded = false;
    m_nModalResult = -1;
    const platform::ModalInputScope input;
    CreateHandle(m_pParentWnd, 0, dialogTemplate->caption.c_str(),
                 dialogTemplate->style & ~WS_VISIBLE);
    platform::DialogWindow window(*this, *dialogTemplate);
    // Whatever way the dialog ends, even by an exception of a handler, its
    // window goes before the controls do.
    struct Closer
    {
        CDialog& dialog;
        ~Closer()
        {
            dialog.ShowWindow(SW_HIDE);
            dialog.m_pDialogWindow = nullptr;
            dialog.DestroyWindow();
        }
    } closer{*this};
    m_pDialogWindow = &window;

    SendMessage(WM_INITDIALOG);
    if (!m_bEnded)
        ShowWindow(SW_SHOW);
    if (!m_bEnded)
    {
        if (platform::TestSeams::Get().modalAnswerer || platform::Display::Instance().IsHeadless())
            AnswerHeadless();
        else
            RunModalLoop();
    }
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    platform::ModalOverlay overlay;
    m_pDialogWindow->Layout(overlay.Width(), overlay.Height());
    auto paint = [&]
    {
        platform::PixelBuffer picture = overlay.Canvas();
        m_pDialogWindow->Paint(picture);
        overlay.Show(picture);
    };
    paint();
    while (!m_bEnded)
    {
        const platform::InputEvent event = platform::TakeInput(platform::kWaitForever);
        if (event.kind == platform::InputEvent::Kind::None)
            continue;
        const platform::DialogWindow::Outcome outcome = m_pDialogWindow->HandleEvent(event);
        if (outcome.command)
            SendMessage(WM_COMMAND, static_cast<WPARAM>(*outcome.command), 0);
        if (!m_bEnded && (outcome.repaint || outcome.command))
            paint();
    }
}

void CDialog::AnswerHeadless()
{
    platform::TestSeams& seams = platform::TestSeams::Get();
    for (int asked = 0; !m_bEnded; ++asked)
    {
        // The close request ends every box, as Escape would, and then goes to the frame.
        if (platform::CloseRequested())
        {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            continue;
        }
        if (asked == kMaxAnswers)
            throw std::logic_error("the modal answerer never ends dialog " +
                                   std::to_string(m_nIDTemplate));
        platform::testing::ModalBox box =
            m_pDialogWindow->Describe(static_cast<int>(m_nIDTemplate));
        const int id = seams.modalAnswerer ? seams.modalAnswerer(box) : IDCANCEL;
        seams.modalBoxes.push_back(box);
        if (id != IDCANCEL && !m_pDialogWindow->HasVisibleButton(id))
            throw std::invalid_argument("dialog " + std::to_string(m_nIDTemplate) +
                                        " has no visible button " + std::to_string(id));
        if (box.hasEdit)
            m_pDialogWindow->SetEditText(box.editText);
        SendMessage(WM_COMMAND, static_cast<WPARAM>(id), 0);
    }
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bEnded = true;
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    if (m_hWnd == nullptr)
        return FALSE;
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK()
{
    UpdateData(TRUE);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam))
    {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return CWnd::OnCommand(wParam, lParam);
    }
}
