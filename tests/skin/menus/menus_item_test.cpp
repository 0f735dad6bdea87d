// Menu items: kinds by caption, state and name, the owner-draw event, and the effects
// between the inactive and the active picture (morph and frame animation) on the window's
// effect timer.
#include "menus_support.h"

using namespace menustest;

namespace {

class MenuItems : public MenuTest {};

TEST_F(MenuItems, KindsFollowCaptionStateAndName)
{
    Menu->SetAutoLineReduction(false);
    struct {
        const char* Caption;
        bool Enabled;
        const char* Name;
        bool Separator, Header;
        int Glyph;
    } Cases[] = {
        {"-", true, "", true, false, 0},       {"--", false, "", false, true, 0},
        {"-x-", true, "", false, false, 0},    {"-x-", false, "", false, true, 0},
        {"", false, "", false, false, 0},      {"&Close", true, "BSF_MAXITEM", false, false, 3},
        {"Restore", true, "TRAY_BSF_RESTORE", false, false, 4}, {"Tray", true, "BSF_MINTOTRAY", false, false, 6},
        {"Close", true, "bsf_close", false, false, 0},
    };
    for (auto& C : Cases) {
        TMenuItem* I = Add(C.Caption);
        I->SetEnabled(C.Enabled);
        if (*C.Name) I->SetName(C.Name);
    }
    Open();
    TbsSkinPopupWindow* W = Level(0);
    ASSERT_EQ(W->ItemCount(), int(std::size(Cases)));
    for (int I = 0; I < W->ItemCount(); ++I) {
        SCOPED_TRACE(I);
        EXPECT_EQ(W->Item(I)->IsSeparator(), Cases[I].Separator);
        EXPECT_EQ(W->Item(I)->IsHeader(), Cases[I].Header);
        EXPECT_EQ(W->Item(I)->SystemGlyph(), Cases[I].Glyph);
    }
}

TEST_F(MenuItems, OwnerDrawingGetsTheTextRectangleOnTheSkinnedBackground)
{
    struct TCall {
        TObject* Sender;
        TRect R;
        bool Selected;
    };
    std::vector<TCall> Calls;
    for (const char* C : {"One", "Two"}) {
        TMenuItem* I = Add(C);
        I->OnDrawItem = [&](TObject* S, TCanvas* Cv, TRect R, bool Sel) {
            Calls.push_back({S, R, Sel});
            Cv->Brush()->SetColor(RGB(0, 0, 255));
            Cv->FillRect(Rect(R.Left, R.Top, R.Left + 3, R.Bottom));
        };
    }
    Open(Rect(120, 120, 120, 120), Skin());
    TbsSkinPopupWindow* W = Level(0);
    ASSERT_FALSE(Calls.empty());
    bool SawOne = false, SawTwo = false;
    for (auto& C : Calls) {
        if (C.Sender == W->Item(0)) {
            SawOne = true;
            EXPECT_TRUE(C.Selected);
        }
        if (C.Sender == W->Item(1)) {
            SawTwo = true;
            EXPECT_FALSE(C.Selected);
        }
        EXPECT_EQ(C.R, Rect(4, 0, W->Item(0)->ObjectRect.Width() - 4, SkinItemH));
    }
    EXPECT_TRUE(SawOne && SawTwo);
    EXPECT_EQ(PixelOf(W, 4 + 4 + 1, 4 + 5), RGB(0, 0, 255));
    EXPECT_EQ(PixelOf(W, 4 + 1, 4 + 5), ItemActiveFace);
    // the default look never calls it
    Chain->Hide();
    Pump();
    Calls.clear();
    Open();
    Pump();
    EXPECT_TRUE(Calls.empty());
}

// Ink of the caption of item I: its box within the item, and whether its leftmost
// inked columns are a dot sitting on the line (not a letter reaching above it).
struct TCaptionInk {
    TRect Box;
    bool DotsFirst = false;
};

class MenuItemReadingOrder : public MenuTest {
protected:
    TCaptionInk CaptionInk(TbsSkinPopupWindow* W, int I, TColor Back)
    {
        const TRect R = W->Item(I)->ObjectRect;
        std::vector<std::vector<bool>> Ink(size_t(R.Height()), std::vector<bool>(size_t(R.Width())));
        TCaptionInk C;
        C.Box = TRect(R.Width(), R.Height(), 0, 0);
        for (int Y = 0; Y < R.Height(); ++Y)
            for (int X = 0; X < R.Width(); ++X)
                if (PixelOf(W, R.Left + X, R.Top + Y) != Back) {
                    Ink[size_t(Y)][size_t(X)] = true;
                    C.Box = TRect(std::min(C.Box.Left, X), std::min(C.Box.Top, Y), std::max(C.Box.Right, X + 1),
                                  std::max(C.Box.Bottom, Y + 1));
                }
        if (C.Box.IsEmpty()) return C;
        int Top = C.Box.Bottom;
        for (int Y = C.Box.Top; Y < C.Box.Bottom && Top == C.Box.Bottom; ++Y)
            if (Ink[size_t(Y)][size_t(C.Box.Left)] || Ink[size_t(Y)][size_t(C.Box.Left + 1)]) Top = Y;
        C.DotsFirst = Top > C.Box.Top + C.Box.Height() / 2;
        return C;
    }
    // The caption ink of inactive item I (on background Back) in the default or the skinned
    // look, with the chain's form in Mode.
    TCaptionInk Painted(bool Skinned, TBiDiMode Mode, int I, TColor Back)
    {
        Form->SetBiDiMode(Mode);
        Chain->Hide();
        Pump();
        Open(Rect(120, 120, 120, 120), Skinned ? Skin() : nullptr);
        TbsSkinPopupWindow* W = Level(0);
        EXPECT_FALSE(W->Item(I)->Active);
        return CaptionInk(W, I, Back);
    }
};

TEST_F(MenuItemReadingOrder, CaptionsReadRightToLeftOnARightToLeftFormAndStayCentred)
{
    Add("One");
    Add("H...");
    Add("-H...-")->SetEnabled(false);
    const struct {
        const char* Look;
        bool Skinned;
        int Item;
        TColor Back;
    } Cases[] = {
        {"default look", false, 1, Sys(clWindow)},
        {"default header", false, 2, Sys(clBtnShadow)},
        {"skinned look", true, 1, ItemFace},
    };
    for (auto& C : Cases) {
        SCOPED_TRACE(C.Look);
        const TCaptionInk Ltr = Painted(C.Skinned, bdLeftToRight, C.Item, C.Back);
        const TCaptionInk Rtl = Painted(C.Skinned, bdRightToLeft, C.Item, C.Back);
        const TCaptionInk ReadingOnly = Painted(C.Skinned, bdRightToLeftReadingOnly, C.Item, C.Back);
        ASSERT_FALSE(Ltr.Box.IsEmpty());
        EXPECT_FALSE(Ltr.DotsFirst);
        EXPECT_TRUE(Rtl.DotsFirst);
        EXPECT_TRUE(ReadingOnly.DotsFirst);
        // the caption is centred in its measured rectangle: swapping the alignment moves
        // nothing, only the reading order changes
        EXPECT_EQ(Rtl.Box, Ltr.Box);
        EXPECT_EQ(ReadingOnly.Box, Ltr.Box);
    }
}

class MenuEffects : public MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        Skin()->SetEnableSkinEffects(true);
        Add("One");
        Add("Two");
    }
};

TEST_F(MenuEffects, MorphTakesFiveTicksAndRunsBackFromWhereItStood)
{
    SkinItem->Morphing = true;
    Open(Rect(120, 120, 120, 120), SD);
    TbsSkinPopupWindow* W = Level(0);
    TbsSkinMenuItem* A = W->Item(0);
    TbsSkinMenuItem* B = W->Item(1);
    EXPECT_EQ(A->MorphKf(), 0);
    Wait(20);
    Wait(20);
    EXPECT_NEAR(A->MorphKf(), 0.4, 1e-9);
    W->PopupKeyDown(VK_DOWN);
    Wait(20);
    EXPECT_NEAR(A->MorphKf(), 0.2, 1e-9);
    EXPECT_NEAR(B->MorphKf(), 0.2, 1e-9);
    for (int I = 0; I < 6; ++I) Wait(20);
    EXPECT_EQ(A->MorphKf(), 0);
    EXPECT_EQ(B->MorphKf(), 1);
    EXPECT_FALSE(W->MorphTimer->Enabled());  // nothing left to change
    EXPECT_EQ(PixelOf(W, 5, B->ObjectRect.Top + 1), ItemActiveFace);
    EXPECT_EQ(PixelOf(W, 5, A->ObjectRect.Top + 1), ItemFace);
    // an item scrolled out of view half-way returns to its inactive state at the next tick
    B->SetMorphKf(0.6);
    B->FVisible = false;
    W->MorphTimerTick();
    EXPECT_FALSE(B->Active);
    EXPECT_EQ(B->MorphKf(), 0);
    B->SetMorphKf(7);
    EXPECT_EQ(B->MorphKf(), 1);
}

TEST_F(MenuEffects, FrameAnimationRunsForwardOnEnterAndBackOnLeave)
{
    SkinItem->AnimateSkinRect = Rect(0, 0, 60, SkinItemH);  // two frames side by side
    SkinItem->FrameCount = 2;
    SkinItem->AnimateInterval = 30;
    SkinItem->InActiveAnimation = true;
    Open(Rect(120, 120, 120, 120), SD);
    TbsSkinPopupWindow* W = Level(0);
    TbsSkinMenuItem* A = W->Item(0);
    EXPECT_EQ(A->FrameRect(1), Rect(0, 0, 30, SkinItemH));
    EXPECT_EQ(A->FrameRect(2), Rect(30, 0, 60, SkinItemH));
    EXPECT_EQ(W->MorphTimer->Interval(), 30u);
    std::vector<int> Frames;
    for (int I = 0; I < 4; ++I) {
        Wait(30);
        Frames.push_back(A->CurrentFrame);
    }
    EXPECT_EQ(Frames, (std::vector<int>{1, 2, 3, 3}));
    W->PopupKeyDown(VK_DOWN);  // leaving runs the frames back
    Frames.clear();
    for (int I = 0; I < 4; ++I) {
        Wait(30);
        Frames.push_back(A->CurrentFrame);
    }
    EXPECT_EQ(Frames, (std::vector<int>{2, 1, 0, 0}));
    // without the inactive animation the item leaves at once
    SkinItem->InActiveAnimation = false;
    W->PopupKeyDown(VK_UP);
    for (int I = 0; I < 4; ++I) Wait(30);
    W->PopupKeyDown(VK_DOWN);
    EXPECT_EQ(A->CurrentFrame, 0);
}

}  // namespace
