// The skinned combo box: the order of its events, the drop-down (mouse, keys, placement,
// auto-scroll, fade-in), the incremental search, the inner edit and the face's looks.
#include "skin/boxes/bsSkinBoxCtrls.h"
#include "controls/skinctl_support.h"

using namespace skinctl;

namespace {

using Log_t = std::vector<std::string>;

class ComboTest : public SkinCtlTest {
protected:
    TbsSkinComboBox* Combo(std::initializer_list<const char*> Names = {"one", "two", "three", "four"},
                           TRect R = Rect(10, 10, 130, 30))
    {
        auto* C = Make<TbsSkinComboBox>(R);
        C->OnClick = [this](TObject*) { Log.push_back("click"); };
        C->OnChange = [this](TObject*) { Log.push_back("change"); };
        C->OnCloseUp = [this](TObject*) { Log.push_back("closeup"); };
        for (const char* N : Names) C->Items()->Add(N);
        Pump();
        return C;
    }
    // The screen point inside item I of the open drop-down.
    TPoint ItemPoint(TbsSkinComboBox* C, int I)
    {
        TbsListBox* L = C->ListBox()->ListBox;
        const TRect R = L->ItemRect(I);
        return L->ClientToScreen(Point(R.Left + 10, R.Top + R.Height() / 2));
    }
    void MoveScreen(TPoint P)
    {
        Headless::MouseMove(P);
        Pump();
    }
    Log_t Log;
};

TEST_F(ComboTest, ItemIndexFiresChangeOnlyWhenTheTextChangesThenClick)
{
    auto* C = Combo();
    C->SetItemIndex(1);
    EXPECT_EQ(C->Text(), "two");
    EXPECT_EQ(Log, (Log_t{"change", "click"}));
    Log.clear();
    C->SetItemIndex(1);
    EXPECT_EQ(Log, (Log_t{"click"}));
    Log.clear();
    C->SetItemIndex(-1);
    EXPECT_EQ(C->Text(), "two");
    EXPECT_EQ(C->ItemIndex(), -1);
    EXPECT_EQ(Log, (Log_t{"click"}));
    // while loading only the text notification can fire
    Log.clear();
    C->Loading();
    C->SetItemIndex(2);
    C->Loaded();
    EXPECT_EQ(Log, (Log_t{"change"}));
}

TEST_F(ComboTest, DropDownSizeAndCountAndPlacement)
{
    auto* C = Combo({"a", "b", "c"});
    C->SetDropDownCount(0);
    EXPECT_EQ(C->DropDownCount(), 8);
    int Drops = 0;
    C->OnDropDown = [&](TObject*) { ++Drops; };
    C->DropDown();
    Pump();
    ASSERT_TRUE(C->IsPopupVisible());
    EXPECT_EQ(Drops, 1);
    EXPECT_EQ(C->ListBox()->RowCount(), 3);
    EXPECT_EQ(C->ListBox()->Height(), 3 * 20 + 4);
    EXPECT_EQ(C->ListBox()->Width(), 120);
    EXPECT_EQ(C->ListBox()->BoundsRect().TopLeft(), C->ClientToScreen(Point(0, 20)));
    C->CloseUp(false);
    // near the bottom of the work area (994) the list opens above; the right edge is not kept
    Form->SetBounds(1200, 930, 300, 200);
    C->SetListBoxWidth(200);
    C->DropDown();
    Pump();
    EXPECT_EQ(C->ListBox()->Top(), C->ClientToScreen(Point(0, 0)).Y - 64);
    EXPECT_EQ(C->ListBox()->Left(), C->ClientToScreen(Point(0, 0)).X);
    EXPECT_EQ(C->ListBox()->Width(), 200);
    C->CloseUp(false);
    // an empty list does not open
    C->Items()->Clear();
    C->DropDown();
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(Drops, 2);
}

TEST_F(ComboTest, PressDragOntoAnItemAndReleaseSelectsIt)
{
    auto* C = Combo();
    C->SetItemIndex(0);
    Log.clear();
    Down(C, 110, 10);  // on the button
    ASSERT_TRUE(C->IsPopupVisible());
    EXPECT_TRUE(C->DroppedDown());
    MoveScreen(ItemPoint(C, 2));
    EXPECT_EQ(C->ListBox()->ItemIndex(), 2);
    EXPECT_EQ(C->OldItemIndex(), 0);  // the face keeps showing the old item
    Headless::MouseUp(ItemPoint(C, 2));
    Pump();
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 2);
    EXPECT_EQ(C->Text(), "three");
    EXPECT_EQ(Log, (Log_t{"change", "click", "closeup"}));
}

TEST_F(ComboTest, ReleaseOutsideAfterEnteringCancelsAndOnTheFaceBeforeStaysOpen)
{
    auto* C = Combo();
    C->SetItemIndex(1);
    Log.clear();
    Down(C, 50, 10);  // on the item area
    Up(C, 50, 10);    // not yet in the list: stays open
    EXPECT_TRUE(C->IsPopupVisible());
    Log.clear();
    C->CloseUp(false);
    EXPECT_EQ(Log, (Log_t{"closeup"}));
    Log.clear();
    Down(C, 50, 10);
    MoveScreen(ItemPoint(C, 3));
    EXPECT_EQ(C->ListBox()->ItemIndex(), 3);
    Up(C, 50, -100);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(Log, (Log_t{"closeup"}));
}

TEST_F(ComboTest, ClickInTheOpenListChooses)
{
    auto* C = Combo();
    Click(C, 110, 10);
    ASSERT_TRUE(C->IsPopupVisible());
    Log.clear();
    const TPoint P = ItemPoint(C, 3);
    Headless::MouseMove(P);
    Headless::MouseDown(P);
    Headless::MouseUp(P);
    Pump();
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 3);
    EXPECT_EQ(Log, (Log_t{"change", "click", "closeup"}));
}

TEST_F(ComboTest, HoldingBelowTheListScrollsItEvery25MsUpToTheLastItem)
{
    Log.clear();
    auto* C = Combo({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    C->SetDropDownCount(4);
    C->SetItemIndex(0);
    Down(C, 110, 10);
    MoveScreen(ItemPoint(C, 1));
    ASSERT_NE(C->ListBox()->ScrollBar, nullptr);
    const TPoint Below = C->ListBox()->ClientToScreen(Point(10, C->ListBox()->Height() + 30));
    MoveScreen(Below);
    const int Start = C->ListBox()->ItemIndex();
    Wait(25);
    EXPECT_EQ(C->ListBox()->ItemIndex(), Start + 1);
    Wait(25);
    EXPECT_EQ(C->ListBox()->ItemIndex(), Start + 2);
    for (int I = 0; I < 20; ++I) Wait(25);
    EXPECT_EQ(C->ListBox()->ItemIndex(), 9);
    // back over the list: the scrolling stops
    MoveScreen(ItemPoint(C, 9));
    Wait(100);
    EXPECT_EQ(C->ListBox()->ItemIndex(), 9);
    Headless::MouseUp(ItemPoint(C, 9));
    Pump();
    EXPECT_EQ(C->ItemIndex(), 9);
}

TEST_F(ComboTest, KeysOfTheFixedStyle)
{
    auto* C = Combo({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"});
    C->SetFocus();
    C->SetItemIndex(0);
    Log.clear();
    Key(VK_DOWN);
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(Log, (Log_t{"change", "click"}));
    Key(VK_NEXT);  // DropDownCount - 1 further
    EXPECT_EQ(C->ItemIndex(), 8);
    Key(VK_PRIOR);  // DropDownCount + 1 back
    EXPECT_EQ(C->ItemIndex(), 0);
    Key(VK_UP);
    EXPECT_EQ(C->ItemIndex(), 0);
    // Alt+Down opens; arrows move the selection while open, Escape keeps the moved one
    Headless::KeyDown(VK_MENU);
    Key(VK_DOWN);
    Headless::KeyUp(VK_MENU);
    Pump();
    ASSERT_TRUE(C->IsPopupVisible());
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(C->ListBox()->ItemIndex(), 2);
    Key(VK_ESCAPE);
    EXPECT_FALSE(C->IsPopupVisible());
    EXPECT_EQ(C->ItemIndex(), 2);
    // F4 does nothing
    Key(VK_F4);
    EXPECT_FALSE(C->IsPopupVisible());
    // the wheel: negative delta moves down
    Headless::Wheel(At(C, 20, 10), -120);
    Pump();
    EXPECT_EQ(C->ItemIndex(), 3);
    Headless::Wheel(At(C, 20, 10), 120);
    Pump();
    EXPECT_EQ(C->ItemIndex(), 2);
}

TEST_F(ComboTest, IncrementalSearchAccumulatesWithinHalfASecond)
{
    auto* C = Combo({"AB", "ABC", "B", "AX"});
    C->SetFocus();
    Pump();
    Headless::Type("A");
    Pump();
    EXPECT_EQ(C->ItemIndex(), 0);
    Wait(100);
    Headless::Type("B");
    Pump();
    EXPECT_EQ(C->ItemIndex(), 0);  // "AB" from the start
    Wait(600);
    Headless::Type("A");
    Pump();
    EXPECT_EQ(C->ItemIndex(), 1);  // the next item after the current one beginning with A
    Wait(600);
    Headless::Type("A");
    Pump();
    EXPECT_EQ(C->ItemIndex(), 3);
    Wait(600);
    Headless::Type("a");  // case does not matter; wraps to the start
    Pump();
    EXPECT_EQ(C->ItemIndex(), 0);
    // without AutoComplete each character searches alone
    C->SetAutoComplete(false);
    Headless::Type("B");
    Pump();
    EXPECT_EQ(C->ItemIndex(), 2);
}

TEST_F(ComboTest, CancelModeFromAnotherControlCloses)
{
    auto* C = Combo();
    auto* Other = Make<TbsSkinListBox>(Rect(200, 10, 300, 100));
    C->DropDown();
    SendMessage(C->Handle(), CM_CANCELMODE, 0, LPARAM(C->ListBox()->ListBox));
    EXPECT_TRUE(C->IsPopupVisible());
    SendMessage(C->Handle(), CM_CANCELMODE, 0, LPARAM(static_cast<TControl*>(Other)));
    EXPECT_FALSE(C->IsPopupVisible());
    C->DropDown();
    SendMessage(C->Handle(), CM_CANCELMODE, 0, 0);
    EXPECT_FALSE(C->IsPopupVisible());
}

TEST_F(ComboTest, AlphaBlendOfTheDropDown)
{
    auto* C = Combo();
    C->SetAlphaBlend(true);
    C->SetAlphaBlendValue(0);
    C->DropDown();
    EXPECT_TRUE(C->ListBox()->Layered());
    EXPECT_EQ(C->ListBox()->AppliedAlpha(), 0);
    C->CloseUp(false);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(14);
    C->DropDown();
    EXPECT_EQ(C->ListBox()->FadeSteps.size(), 14u);
    EXPECT_EQ(C->ListBox()->FadeSteps.front(), 1);
    EXPECT_EQ(C->ListBox()->AppliedAlpha(), 14);
    C->CloseUp(false);
    C->SetAlphaBlend(false);
    C->DropDown();
    EXPECT_FALSE(C->ListBox()->Layered());
}

TEST_F(ComboTest, AComboFreedWhileItsListFadesInEndsTheFade)
{
    auto* C = Combo();
    C->SetAlphaBlend(true);
    C->SetAlphaBlendAnimation(true);
    C->SetAlphaBlendValue(200);
    // a message already queued when the list drops down frees the combo box (and its list)
    // during the fade's first pump
    constexpr unsigned FreeCombo = WM_APP + 18;
    const TWndMethod Old = Form->WindowProc;
    Form->WindowProc = [&](TMessage& M) {
        if (M.Msg == FreeCombo) {
            delete C;
            C = nullptr;
        } else
            Old(M);
    };
    const int Before = Form->ComponentCount();
    PostMessage(Form->Handle(), FreeCombo, 0, 0);
    C->DropDown();
    Form->WindowProc = Old;
    EXPECT_EQ(C, nullptr);
    EXPECT_EQ(Form->ComponentCount(), Before - 1);
    Pump();
}

TEST_F(ComboTest, DefaultFaceShowsTheItemAndTheButtonStates)
{
    auto* C = Combo();
    EXPECT_EQ(C->Button.R, Rect(101, 0, 120, 20));
    EXPECT_EQ(C->CBItem.R, Rect(2, 2, 100, 18));
    EXPECT_EQ(PixelOf(C, 0, 0), Sys(clBtnShadow));
    EXPECT_EQ(PixelOf(C, 50, 10), Sys(clWindow));
    EXPECT_EQ(PixelOf(C, 103, 3), Sys(clBtnFace));
    C->SetItemIndex(0);
    C->SetFocus();
    Pump();
    EXPECT_EQ(PixelOf(C, 50, 3), Sys(clHighlight));
    Move(C, 110, 10);
    EXPECT_EQ(PixelOf(C, 103, 3), bsDefaultHotColor);
    // the owner drawing of the face gets the shown item
    int Drawn = -1;
    C->OnComboBoxDrawItem = [&](TCanvas*, int Index, int, int, TRect, TOwnerDrawState S) {
        Drawn = Index;
        EXPECT_TRUE(S.Contains(odFocused));
    };
    C->Repaint();
    Pump();
    EXPECT_EQ(Drawn, 0);
    // PaintSkinTo shows a given text and keeps the control's own
    TBitmap B;
    B.SetSize(200, 50);
    C->PaintSkinTo(B.Canvas(), 10, 10, "other");
    EXPECT_EQ(C->Text(), "one");
    EXPECT_EQ(B.Canvas()->Pixels(10, 10), Sys(clBtnShadow));
}

TEST_F(ComboTest, EditStyleTypesCompletesAndSteps)
{
    auto* C = Combo({"apple", "banana", "cherry"});
    C->SetStyle(bscbEditStyle);
    ASSERT_NE(C->Edit(), nullptr);
    EXPECT_TRUE(C->Edit()->TabStop());
    EXPECT_FALSE(C->TabStop());
    EXPECT_EQ(C->Edit()->Left(), C->CBItem.R.Left);
    C->Edit()->SetFocus();
    Pump();
    Log.clear();
    Headless::KeyDown('B', "b");
    Headless::KeyUp('B');
    Pump();
    EXPECT_EQ(C->Text(), "banana");
    EXPECT_EQ(C->ItemIndex(), 1);
    EXPECT_EQ(C->SelStart(), 1);
    EXPECT_EQ(C->SelLength(), 5);
    // the down arrow moves to the next item and selects its text
    Log.clear();
    Key(VK_DOWN);
    EXPECT_EQ(C->Text(), "cherry");
    EXPECT_EQ(C->SelLength(), 6);
    EXPECT_EQ(Log.back(), "click");
    Key(VK_UP);
    EXPECT_EQ(C->Text(), "banana");
    // closing with acceptance writes the item into the edit
    C->DropDown();
    C->ListBox()->SetItemIndex(0);
    Key(VK_RETURN);
    EXPECT_EQ(C->Edit()->Text(), "apple");
    EXPECT_EQ(C->Text(), "apple");
    // back to the fixed style: the edit goes
    C->SetStyle(bscbFixedStyle);
    EXPECT_EQ(C->Edit(), nullptr);
}

TEST_F(ComboTest, EditStyleKeyReleasesKeepTheUsersSelectionInEveryCharacterSet)
{
    for (BYTE Charset : {BYTE(DEFAULT_CHARSET), BYTE(GB2312_CHARSET)}) {
        auto* C = Combo({"apple", "banana", "cherry"});
        C->DefaultFont()->SetCharset(Charset);
        C->SetStyle(bscbEditStyle);
        C->Edit()->SetFocus();
        Pump();
        // typing still completes from the list
        Headless::KeyDown('B', "b");
        Headless::KeyUp('B');
        Pump();
        EXPECT_EQ(C->Text(), "banana") << int(Charset);
        // the whole text selected by the user survives the release of the keys that chose it
        C->Edit()->SelectAll();
        for (int K : {VK_SHIFT, VK_CONTROL, int('A'), VK_LEFT}) {
            Headless::KeyUp(K);
            Pump();
        }
        EXPECT_EQ(C->Text(), "banana") << int(Charset);
        EXPECT_EQ(C->SelStart(), 0) << int(Charset);
        EXPECT_EQ(C->SelLength(), 6) << int(Charset);
        delete C;
    }
}

TEST_F(ComboTest, PaintSkinToLeavesTheTextTheEventsAndTheInnerEditAlone)
{
    for (TbsSkinCustomComboBoxStyle Style : {bscbFixedStyle, bscbEditStyle}) {
        auto* C = Combo({"apple", "banana"});
        C->SetStyle(Style);
        C->SetItemIndex(1);
        C->SetSelStart(2);
        C->SetSelLength(3);
        Log.clear();
        TBitmap B;
        B.SetSize(200, 50);
        C->PaintSkinTo(B.Canvas(), 0, 0, "shown elsewhere");
        EXPECT_EQ(C->Text(), "banana") << int(Style);
        EXPECT_TRUE(Log.empty()) << int(Style);  // no OnChange for a picture
        if (C->Edit()) {
            EXPECT_EQ(C->Edit()->Text(), "banana");
            EXPECT_EQ(C->SelStart(), 2);
            EXPECT_EQ(C->SelLength(), 3);
        }
        delete C;
    }
}

// A skin with a "combobox" record and an "edit" record for the disabled text colour.
class SkinnedCombo : public ComboTest {
protected:
    void SetUp() override
    {
        ComboTest::SetUp();
        Skin.AddPicture(200, 100, clGray);
        Skin.Paint(0, Rect(2, 2, 98, 18), clBlue);       // client part of the face
        Skin.Paint(0, Rect(100, 0, 120, 20), clYellow);  // hovered button
        Skin.Paint(0, Rect(120, 0, 140, 20), clLime);    // disabled button
        R = Skin.Add<TbsDataSkinComboBox>("combobox");
        NinePiece(R, 100, 20, 2, true, false);
        R->ButtonRect = Rect(80, 0, 100, 20);
        R->ActiveButtonRect = Rect(100, 0, 120, 20);
        R->DownButtonRect = Rect(100, 0, 120, 20);
        R->UnEnabledButtonRect = Rect(120, 0, 140, 20);
        R->FontName = "Tahoma";
        R->FontHeight = 13;
        R->FontColor = clBlack;
        auto* E = Skin.Add<TbsDataSkinEditControl>("edit");
        NinePiece(E, 50, 20, 2);
        E->DisabledFontColor = clRed;
    }
    TestSkin Skin;
    TbsDataSkinComboBox* R = nullptr;
};

TEST_F(SkinnedCombo, SkinnedButtonFollowsTheStatesAndTheDisabledPart)
{
    auto* C = Combo();
    C->SetSkinData(Skin.SD);
    Pump();
    EXPECT_EQ(C->Height(), 20);  // the skin's size (the width stretches)
    EXPECT_EQ(C->Button.R, Rect(100, 0, 120, 20));
    EXPECT_EQ(PixelOf(C, 50, 10), TColor(clBlue));
    Move(C, 110, 10);
    EXPECT_EQ(PixelOf(C, 110, 10), TColor(clYellow));
    C->SetEnabled(false);
    Pump();
    EXPECT_EQ(PixelOf(C, 110, 10), TColor(clLime));
}

TEST_F(SkinnedCombo, DisabledEditTextTakesTheEditRecordsColour)
{
    auto* C = Combo();
    C->SetStyle(bscbEditStyle);
    C->SetEnabled(false);
    EXPECT_EQ(C->Edit()->Font()->Color(), TColor(clGrayText));  // unskinned
    C->SetEnabled(true);
    C->SetSkinData(Skin.SD);
    C->SetEnabled(false);
    EXPECT_EQ(C->Edit()->Font()->Color(), TColor(clRed));
    C->SetEnabled(true);
    EXPECT_EQ(C->Edit()->Font()->Color(), TColor(clBlack));
}

TEST_F(SkinnedCombo, StretchedFaceWithoutButtonRecordsShowsNoButton)
{
    auto* C = Combo();
    C->SetUseSkinSize(false);
    C->SetSkinData(Skin.SD);
    C->SetHeight(30);
    Pump();
    EXPECT_EQ(C->Height(), 30);
    EXPECT_EQ(C->Button.R, Rect(100, 0, 120, 30));
    // no "combobutton", "editbutton" or "resizebutton": the face shows through
    EXPECT_EQ(PixelOf(C, 110, 15), TColor(clBlue));
}

}  // namespace
