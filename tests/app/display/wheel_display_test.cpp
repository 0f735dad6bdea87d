// The mouse wheel on a real display scrolls the list under the pointer, whichever control
// has the focus: the main window's category and preset drop-downs, its job list, and a
// skinned combo box's drop-down, a skinned list box and a memo on a form beside it.  Each
// notch is the server's wheel button (4 up, 5 down); the list's first row moves and the
// screen shows the list scrolled, and back again.
#include <gtest/gtest.h>

#include <functional>

#include "app/forms/Unit1.h"
#include "display/pointer_keys.h"
#include "display/program_display.h"
#include "support/display/screen_pixels.h"
#include "display/skin_screen.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "skin/controls/bsSkinCtrls.h"

using namespace skinscreen;

namespace {

struct WheelCase {
    const char* Name;
    std::function<TControl*()> Control;  // the control whose list is scrolled
    std::function<void()> Open;          // drops a list down (or nothing)
    std::function<TWinControl*()> View;  // the window under the pointer
    std::function<int()> Top;            // the first row shown (or the scroll position)
    bool Drops;                          // Escape closes the list afterwards
};

class WheelDisplay : public ProgramFormsDisplay {
protected:
    void TearDown() override
    {
        delete Side;
        ProgramFormsDisplay::TearDown();
    }
    void MakeSideForm()
    {
        Side = new TForm(nullptr);
        Side->AfterConstruction();
        Side->SetBounds(10, 10, 600, 200);
        List = new TbsSkinListBox(Side);
        List->SetParent(Side);
        List->SetSkinData(Form1->bsSkinData1);
        List->SetBounds(10, 10, 180, 150);
        Memo = new TMemo(Side);
        Memo->SetParent(Side);
        Memo->SetBounds(200, 10, 180, 150);
        Combo = new TbsSkinComboBox(Side);
        Combo->SetParent(Side);
        Combo->SetSkinData(Form1->bsSkinData1);
        Combo->SetStyle(bscbFixedStyle);
        Combo->SetBounds(390, 10, 180, 20);
        for (int i = 0; i < 40; ++i) {
            const String line = "line " + std::to_string(i);
            List->Items()->Add(line);
            Memo->Lines()->Add(line);
            Combo->Items()->Add(line);
        }
        Combo->SetItemIndex(0);
        Side->Show();
        Memo->Perform(WM_VSCROLL, SB_TOP);
        ASSERT_TRUE(Pump([&] { return IsWindowVisible(Side->Handle()); }));
        Settle();
    }
    static void Wheel(int AButton)
    {
        pointerkeys::PressButton(AButton);
        pointerkeys::ReleaseButton(AButton);
    }
    TForm* Side = nullptr;
    TbsSkinListBox* List = nullptr;
    TMemo* Memo = nullptr;
    TbsSkinComboBox* Combo = nullptr;
};

TEST_F(WheelDisplay, TheWheelScrollsTheListUnderThePointer)
{
    for (int i = 0; i < 40; ++i) Form1->AddJobRow({"/tmp/file" + std::to_string(i) + ".avi"});
    Form1->bsSkinPanel5->SetVisible(false);  // the empty list's picture goes, as when files are added
    MakeSideForm();
    if (HasFatalFailure()) return;
    auto dropOffice = [](TbsSkinOfficeComboBox* C) {
        return [C] {
            ClickOn(C);
            ASSERT_TRUE(Pump([C] { return C->ListBox()->Visible(); }));
        };
    };
    const WheelCase cases[] = {
        {"the category drop-down", [] { return Form1->bsSkinOfficeComboBox2; },
         dropOffice(Form1->bsSkinOfficeComboBox2), [] { return Form1->bsSkinOfficeComboBox2->ListBox(); },
         [] { return Form1->bsSkinOfficeComboBox2->ListBox()->ScrollOffset(); }, true},
        {"the preset drop-down", [] { return Form1->bsSkinOfficeComboBox1; },
         dropOffice(Form1->bsSkinOfficeComboBox1), [] { return Form1->bsSkinOfficeComboBox1->ListBox(); },
         [] { return Form1->bsSkinOfficeComboBox1->ListBox()->ScrollOffset(); }, true},
        {"the job list", [] { return Form1->lvFiles; }, [] {}, [] { return Form1->lvFiles; },
         [] { return Form1->lvFiles->TopItem() ? Form1->lvFiles->TopItem()->Index() : -1; }, false},
        {"a skinned combo box's drop-down", [this] { return Combo; },
         [this] {
             ClickOn(Combo);
             ASSERT_TRUE(Pump([this] { return Combo->IsPopupVisible(); }));
         },
         [this] { return Combo->ListBox(); }, [this] { return Combo->ListBox()->TopIndex(); }, true},
        {"a skinned list box", [this] { return List; }, [] {}, [this] { return List; },
         [this] { return List->TopIndex(); }, false},
        {"a memo", [this] { return Memo; }, [] {}, [this] { return Memo; },
         [this] { return int(Memo->Perform(EM_GETFIRSTVISIBLELINE)); }, false},
    };
    for (const WheelCase& c : cases) {
        SCOPED_TRACE(c.Name);
        // The focus lies elsewhere: on a button of the main window, or on the combo box
        // that dropped down.
        Form1->bsSkinButton9->SetFocus();
        Settle(10);
        c.Open();
        if (HasFatalFailure()) return;
        Settle(20);
        TWinControl* view = c.View();
        const TRect r = OnScreen(view);
        pointerkeys::MovePointer(r.Left + r.Width() / 2, r.Top + r.Height() / 2);
        Settle(10);
        const int top = c.Top();
        const std::vector<uint32_t> before = Grab(r);
        Wheel(5);
        EXPECT_TRUE(Pump([&] { return c.Top() > top; }, 400)) << "down one notch: " << c.Top();
        EXPECT_TRUE(Pump([&] { return Grab(r) != before; }, 400)) << "drawn scrolled";
        Wheel(4);
        EXPECT_TRUE(Pump([&] { return c.Top() == top; }, 400)) << "up one notch: " << c.Top();
        EXPECT_TRUE(Pump([&] { return Grab(r) == before; }, 400)) << "drawn as before";
        // Escape closes a drop-down without choosing.
        if (c.Drops) pointerkeys::TapKey("Escape");
        Settle(20);
    }
}

}  // namespace
