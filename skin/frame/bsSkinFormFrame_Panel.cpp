// The inactive-client panel: while a form with ClientInActiveEffect is inactive, a panel
// over its whole client area shows the picture the client area had at the deactivation,
// blurred or dimmed under the form's background.
#include "skin/frame/bsSkinFormFrame.h"

#include "platform/windows/WinPaint.h"

TbsClientInActivePanel::TbsClientInActivePanel(TComponent* AOwner) : TbsSkinPaintPanel(AOwner) { SetVisible(false); }

void TbsClientInActivePanel::ShowPanel(TCustomForm* AForm, TbsClientInActiveEffect AEffect)
{
    if (!AForm || !AForm->Visible() || AForm->ClientWidth() == 0 || AForm->ClientHeight() == 0) return;
    int W = AForm->ClientWidth(), H = AForm->ClientHeight();
    SetVisible(false);
    SetParent(AForm);
    SetBounds(0, 0, W, H);
    Buffer = std::make_unique<TbsBitmap>();
    Buffer->SetSize(W, H);
    HDC DC = GetDC(AForm->Handle());
    BitBlt(Buffer->DC(), 0, 0, W, H, DC, 0, 0, SRCCOPY);
    ReleaseDC(AForm->Handle(), DC);
    if (AEffect == bsieBlur) {
        BlurBitmap(Buffer.get(), 3);
    } else {
        TbsBitmap BG;
        BG.SetSize(W, H);
        SendMessage(AForm->Handle(), WM_ERASEBKGND, WPARAM(BG.DC()), 0);
        BG.SetAlpha(170);
        BG.SetAlphaBlend(true);
        BG.Draw(Buffer.get(), 0, 0);
    }
    SetVisible(true);
    BringToFront();
}

void TbsClientInActivePanel::HidePanel()
{
    SetVisible(false);
    Buffer.reset();
}

void TbsClientInActivePanel::Paint()
{
    if (Buffer) Buffer->Draw(Canvas(), 0, 0);
}

void TbsSkinFormFrame::ShowClientInActiveEffect()
{
    if (FInActivePanel) HideClientInActiveEffect();
    FInActivePanel = new TbsClientInActivePanel(this);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TbsSkinFormFrame::HideClientInActiveEffect()
{
    if (!FInActivePanel) return;
    FInActivePanel->HidePanel();
    delete FInActivePanel;
    FInActivePanel = nullptr;
}
