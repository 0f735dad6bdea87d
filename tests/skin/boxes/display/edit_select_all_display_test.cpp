// Ctrl+A on a real display selects the whole text of every kind of edit: the platform
// edit, the skinned edit (writable and read-only) and the edit of an editable skinned
// combo box.  The keys go through the X server; the check is the selection and the
// highlight colour that the edit then shows behind its text.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <ostream>

#include "dialogs/display/filedlg_keys.h"
#include "display_pump.h"
#include "frame/display/frame_display_probe.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/windows/Backend.h"
#include "skin/boxes/bsSkinBoxCtrls.h"

using displaypump::PumpUntil;

namespace {

struct TEditCase {
    const char* Name;
    // Places the control on the form; returns the edit that takes the keys.
    std::function<TCustomEdit*(TForm* Form)> Make;
};

const TEditCase Cases[] = {
    {"platform edit",
     [](TForm* F) {
         auto* E = new TEdit(F);
         E->SetParent(F);
         return static_cast<TCustomEdit*>(E);
     }},
    {"read-only platform edit",
     [](TForm* F) {
         auto* E = new TEdit(F);
         E->SetParent(F);
         E->SetReadOnly(true);
         return static_cast<TCustomEdit*>(E);
     }},
    {"skinned edit",
     [](TForm* F) {
         auto* E = new TbsSkinEdit(F);
         E->SetParent(F);
         return static_cast<TCustomEdit*>(E);
     }},
    {"read-only skinned edit",
     [](TForm* F) {
         auto* E = new TbsSkinEdit(F);
         E->SetParent(F);
         E->SetReadOnly(true);
         return static_cast<TCustomEdit*>(E);
     }},
    {"skinned combo box's edit",
     [](TForm* F) {
         auto* C = new TbsSkinComboBox(F);
         C->SetParent(F);
         C->SetStyle(bscbEditStyle);
         C->SetBounds(20, 20, 220, 24);
         return static_cast<TCustomEdit*>(C->Edit());
     }},
};

void PrintTo(const TEditCase& C, std::ostream* Out) { *Out << C.Name; }

class EditSelectAllDisplay : public ::testing::TestWithParam<TEditCase> {
protected:
    void SetUp() override
    {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ASSERT_TRUE(InstallX11Backend());
        InitForms();
        ASSERT_TRUE(framedisplay::Open());
        ASSERT_TRUE(filedlgx::Open());
        Opened = true;
    }
    void TearDown() override
    {
        if (!Opened) return;
        DoneForms();
        filedlgx::Close();
        framedisplay::Close();
    }
    // Screen pixels of the edit's middle row that show the selection's highlight.
    static int HighlightPixels(TCustomEdit* E)
    {
        const TPoint O = E->ClientToScreen(Point(0, 0));
        const auto Row = framedisplay::ScreenRect(O.X, O.Y + E->ClientHeight() / 2, E->ClientWidth(), 1);
        const TColor H = ColorToRGB(clHighlight);
        const uint32_t Want = uint32_t(GetRValue(H)) << 16 | uint32_t(GetGValue(H)) << 8 | GetBValue(H);
        int N = 0;
        for (uint32_t P : Row) N += P == Want;
        return N;
    }
    bool Opened = false;
};

TEST_P(EditSelectAllDisplay, CtrlASelectsTheWholeText)
{
    const TEditCase& C = GetParam();
    auto* Form = Application->CreateForm<TForm>();
    Form->SetBounds(100, 100, 300, 120);
    TCustomEdit* E = C.Make(Form);
    if (E->Parent() == Form) E->SetBounds(20, 20, 220, 24);
    const String Text = "select every word";
    E->SetText(Text);
    Form->Show();
    ASSERT_TRUE(PumpUntil([&] { return E->HandleAllocated() && IsWindowVisible(E->Handle()); }));

    // a click after the text puts the caret there, with nothing selected
    const TPoint At = E->ClientToScreen(Point(E->ClientWidth() - 4, E->ClientHeight() / 2));
    framedisplay::MovePointer(At.X, At.Y);
    framedisplay::ClickButton(1);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == E->Handle() && E->SelLength() == 0; }))
        << C.Name << ": focus " << (GetFocus() == E->Handle()) << ", selection " << E->SelLength();
    ASSERT_TRUE(PumpUntil([&] { return HighlightPixels(E) == 0; })) << C.Name;

    filedlgx::KeyDown("Control_L");
    filedlgx::TypeText("a");
    filedlgx::KeyUp("Control_L");
    EXPECT_TRUE(PumpUntil([&] { return E->SelStart() == 0 && E->SelLength() == int(Text.size()); }))
        << C.Name << ": selection " << E->SelStart() << "+" << E->SelLength();
    EXPECT_TRUE(PumpUntil([&] { return HighlightPixels(E) > 20; })) << C.Name << ": no highlight behind the text";
    EXPECT_EQ(E->Text(), Text) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(Edits, EditSelectAllDisplay, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<TEditCase>& I) { return std::to_string(I.index); });

}  // namespace
