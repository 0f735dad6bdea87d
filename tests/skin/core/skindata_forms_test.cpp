// The skin data object's messages reach real forms (headless windows) in the order the
// skin frames rely on.
#include "skindata_support.h"

#include "platform/forms/Forms.h"
#include "platform/windows/Headless.h"

using namespace skintest;

namespace {

struct Received {
    String Form;
    unsigned Message;
    uintptr_t WParam;
    intptr_t LParam;
};

std::vector<Received> Log;

bool IsSkinMessage(unsigned M)
{
    return M == SkinDataChanging || M == SkinDataChanged || M == SkinDataApplied || M == ResourceStringsChanged ||
           M == SkinnableFormChanged || M == LayeredBordersChanged || M == AeroBlurChanged;
}

class TRecordingForm : public TForm {
public:
    using TForm::TForm;
    void WndProc(TMessage& M) override
    {
        if (IsSkinMessage(M.Msg)) Log.push_back({Name(), M.Msg, M.WParam, M.LParam});
        TForm::WndProc(M);
    }
};

// The class name the skin frames give their layered border windows, and a class derived
// from it under another name.
class TbsFormLayerWindow : public TRecordingForm {
public:
    using TRecordingForm::TRecordingForm;
};
class TMyLayerWindow : public TbsFormLayerWindow {
public:
    using TbsFormLayerWindow::TbsFormLayerWindow;
};

class SkinDataForms : public ::testing::Test {
protected:
    void SetUp() override
    {
        Headless::Install();
        InitForms();
        Log.clear();
    }
    void TearDown() override { DoneForms(); }
    template <class T>
    T* Make(const String& Name)
    {
        T* F = Application->CreateForm<T>();
        F->SetName(Name);
        return F;
    }
    std::vector<String> Receivers(unsigned M) const
    {
        std::vector<String> R;
        for (const Received& E : Log)
            if (E.Message == M) R.push_back(E.Form);
        return R;
    }
};

TEST_F(SkinDataForms, MessagesReachEveryFormButLayerWindows)
{
    auto* Main = Make<TRecordingForm>("Main");
    Make<TbsFormLayerWindow>("Layer");
    Make<TRecordingForm>("Other");
    Make<TMyLayerWindow>("Mine");
    auto* D = new TbsSkinData(Main);
    D->SetShowLayeredBorders(false);
    for (int i = 0; i < Screen->FormCount(); ++i) Screen->Forms(i)->HandleNeeded();
    // The owner first, then the others in the screen's order.
    std::vector<String> Expected{"Main"};
    for (int i = 0; i < Screen->FormCount(); ++i) {
        String N = Screen->Forms(i)->Name();
        if (N != "Main" && N != "Layer") Expected.push_back(N);
    }
    Log.clear();
    D->SendSkinDataMessage(SkinDataChanging);
    EXPECT_EQ(Receivers(SkinDataChanging), Expected);
    EXPECT_EQ(Expected.size(), 3u);
    for (const Received& E : Log) {
        EXPECT_EQ(E.WParam, reinterpret_cast<uintptr_t>(D));
        EXPECT_EQ(E.LParam, 1000);
    }
}

TEST_F(SkinDataForms, ASkinChangeIsAnnouncedInOrder)
{
    auto* Main = Make<TRecordingForm>("Main");
    Make<TRecordingForm>("Second");
    TbsSkinData Source(nullptr);
    FillSmallSkin(&Source);
    auto* List = new TbsCompressedSkinList(Main);
    List->Skins()->Add()->Skin()->LoadFromSkinData(&Source);
    auto* D = new TbsSkinData(Main);
    Log.clear();
    D->SetSkinList(List);
    // Every form gets each message, and every form has one step before the next begins.
    ASSERT_EQ(Log.size(), 6u);
    const unsigned Steps[] = {SkinDataChanging, SkinDataChanged, SkinDataApplied};
    for (int Step = 0; Step < 3; ++Step) {
        EXPECT_EQ(Log[2 * Step].Message, Steps[Step]);
        EXPECT_EQ(Log[2 * Step + 1].Message, Steps[Step]);
        EXPECT_NE(Log[2 * Step].Form, Log[2 * Step + 1].Form);
    }
    EXPECT_FALSE(D->Empty);
}

} // namespace
