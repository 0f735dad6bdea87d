// The platform's message box: a small modal dialog with the standard icon of its
// type, the text wrapped to at most 400 pixels, and push buttons (OK; OK and Cancel;
// Yes and No).  Enter presses the focused button, Escape cancels (an OK box answers
// OK), Tab moves between the buttons.
#include <algorithm>

#include "platform/forms/Controls.h"
#include "platform/forms/Forms.h"

namespace {

TRect Grown(const TRect& R, int D) { return {R.Left - D, R.Top - D, R.Right + D, R.Bottom + D}; }

constexpr int Margin = 12, IconSize = 32, ButtonWidth = 75, ButtonHeight = 23, ButtonGap = 8, MaxTextWidth = 400;

// A push button drawn in the system's plain look.
class TMessageButton : public TCustomControl {
public:
    TMessageButton(TComponent* O, const String& Caption, TModalResult Result) : TCustomControl(O), FResult(Result)
    {
        SetCaption(Caption);
        SetTabStop(true);
        FControlStyle.Exclude(csDoubleClicks);
    }
    TModalResult Result() const { return FResult; }
    void Click() override
    {
        TCustomControl::Click();
        if (TCustomForm* F = GetParentForm(this)) F->SetModalResult(FResult);
    }
    void Dispatch(TMessage& M) override
    {
        switch (M.Msg) {
        case WM_SETFOCUS: case WM_KILLFOCUS: Invalidate(); break;
        case WM_GETDLGCODE: M.Result = DLGC_BUTTON; return;
        case WM_KEYUP:
            if (M.WParam == VK_SPACE) Click();
            break;
        case WM_LBUTTONDOWN: FDown = true; Invalidate(); break;
        case WM_LBUTTONUP: FDown = false; Invalidate(); break;
        case CM_MOUSELEAVE: if (FDown) { FDown = false; Invalidate(); } break;
        }
        TCustomControl::Dispatch(M);
    }

protected:
    void Paint() override
    {
        TCanvas* C = Canvas();
        TRect R = ClientRect();
        bool Focus = Focused();
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(R);
        if (Focus) {  // the default button's extra dark line
            C->Brush()->SetColor(cl3DDkShadow);
            C->FrameRect(R);
            R = Grown(R, -1);
        }
        if (FDown) {
            C->Brush()->SetColor(clBtnShadow);
            C->FrameRect(R);
        } else {
            Frame3D(C, R, clBtnHighlight, cl3DDkShadow, 1);
            Frame3D(C, R, clBtnFace, clBtnShadow, 1);
        }
        C->Font()->Assign(Font());
        C->Brush()->SetStyle(bsClear);
        TRect T = ClientRect();
        if (FDown) T = Bounds(T.Left + 1, T.Top + 1, T.Width(), T.Height());
        String Text = Caption();
        DrawText(C->Handle(), Text.c_str(), -1, &T, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (Focus) {
            TRect F = ClientRect();
            F = Grown(F, -4);
            C->DrawFocusRect(F);
        }
    }

private:
    TModalResult FResult;
    bool FDown = false;
};

// The icon and the text.
class TMessageBody : public TCustomControl {
public:
    TMessageBody(TComponent* O, const String& Text, HICON Icon) : TCustomControl(O), FMessage(Text), FIcon(Icon)
    {
        FControlStyle.Include(csOpaque);
    }
    TRect TextRect() const
    {
        int Left = FIcon ? Margin + IconSize + Margin : Margin;
        return {Left, Margin, Width() - Margin, Height()};
    }

protected:
    void Paint() override
    {
        TCanvas* C = Canvas();
        C->Brush()->SetColor(Color());
        C->FillRect(ClientRect());
        if (FIcon) DrawIcon(C->Handle(), Margin, Margin, FIcon);
        C->Font()->Assign(Font());
        C->Brush()->SetStyle(bsClear);
        TRect R = TextRect();
        // a short text sits level with the middle of the icon
        TRect M = R;
        DrawText(C->Handle(), FMessage.c_str(), -1, &M, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
        if (FIcon && M.Height() < IconSize) R.Top += (IconSize - M.Height()) / 2;
        DrawText(C->Handle(), FMessage.c_str(), -1, &R, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }

private:
    String FMessage;
    HICON FIcon;
};

class TMessageForm : public TForm {
public:
    using TForm::TForm;
    TModalResult EscapeResult = mrCancel;
    void Dispatch(TMessage& M) override
    {
        if (M.Msg == CM_DIALOGKEY && (M.WParam == VK_RETURN || M.WParam == VK_ESCAPE)) {
            if (M.WParam == VK_ESCAPE) {
                if (EscapeResult != mrNone) SetModalResult(EscapeResult);
            } else if (auto* B = dynamic_cast<TMessageButton*>(ActiveControl())) {
                B->Click();
            }
            M.Result = 1;
            return;
        }
        TForm::Dispatch(M);
    }
};

int IconFor(UINT Type)
{
    switch (Type & 0xF0) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONWARNING: return IDI_WARNING;
    case MB_ICONINFORMATION: return IDI_INFORMATION;
    }
    return 0;
}

}  // namespace

int MessageBox(HWND, const String& Text, const String& Caption, UINT Type)
{
    InitForms();
    struct TButtonSpec {
        const char* Caption;
        TModalResult Result;
    };
    std::vector<TButtonSpec> Buttons;
    TModalResult Escape = mrOk;
    switch (Type & 0xF) {
    case MB_OKCANCEL: Buttons = {{"OK", mrOk}, {"Cancel", mrCancel}}, Escape = mrCancel; break;
    case MB_YESNO: Buttons = {{"Yes", mrYes}, {"No", mrNo}}, Escape = mrNone; break;
    default: Buttons = {{"OK", mrOk}}; break;
    }
    int IconId = IconFor(Type);
    HICON Icon = IconId ? LoadIcon(0, IconId) : nullptr;

    auto* F = new TMessageForm(nullptr);
    F->AfterConstruction();
    F->EscapeResult = Escape;
    F->SetBorderStyle(bsDialog);
    F->SetBorderIcons({biSystemMenu});
    F->SetCaption(Caption);
    F->SetPosition(poScreenCenter);
    F->SetColor(clBtnFace);

    TSize T = MeasureText(F->Font(), Text.empty() ? String(" ") : Text, MaxTextWidth,
                          DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    int BodyWidth = (Icon ? Margin + IconSize : 0) + Margin + T.cx + Margin;
    int BodyHeight = Margin + std::max(T.cy, Icon ? IconSize : 0) + Margin;
    int RowWidth = int(Buttons.size()) * ButtonWidth + (int(Buttons.size()) - 1) * ButtonGap;
    int ClientW = std::max({BodyWidth, RowWidth + 2 * Margin, 160});
    F->SetClientWidth(ClientW);
    F->SetClientHeight(BodyHeight + ButtonHeight + Margin);

    auto* Body = new TMessageBody(F, Text, Icon);
    Body->SetBounds(0, 0, ClientW, BodyHeight);
    Body->SetParent(F);
    int X = (ClientW - RowWidth) / 2;
    for (auto& B : Buttons) {
        auto* Btn = new TMessageButton(F, B.Caption, B.Result);
        Btn->SetBounds(X, BodyHeight, ButtonWidth, ButtonHeight);
        Btn->SetParent(F);
        if (&B == &Buttons.front()) F->OnShow = [Btn](TObject*) { Btn->SetFocus(); };
        X += ButtonWidth + ButtonGap;
    }

    TModalResult R = mrNone;
    try {
        R = F->ShowModal();
    } catch (...) {
        delete F;
        if (Icon) DestroyIcon(Icon);
        throw;
    }
    delete F;
    if (Icon) DestroyIcon(Icon);
    switch (R) {
    case mrCancel: return (Type & 0xF) == MB_OK ? IDOK : IDCANCEL;  // closing an OK box answers OK
    case mrYes: return IDYES;
    case mrNo: return IDNO;
    case mrOk: return IDOK;
    }
    return (Type & 0xF) == MB_YESNO ? IDNO : IDCANCEL;
}
