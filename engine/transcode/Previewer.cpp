#include "engine/transcode/Previewer.h"

#include "engine/common/FFUtils.h"
#include "engine/common/HostUtils.h"
#include "platform/graphics/Gdi.h"
#include "platform/system/Threads.h"
#include "platform/windows/Messages.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

class TPreviewForm;

// A copy of a 24- or 32-bit bitmap's pixels in a new 24-bit bitmap.
std::unique_ptr<TBitmap> CopyBitmap(TBitmap* ASource)
{
    auto Copy = std::make_unique<TBitmap>();
    Copy->SetPixelFormat(pf24bit);
    const int W = ASource->Width(), H = ASource->Height();
    if (W <= 0 || H <= 0) return Copy;
    Copy->SetSize(W, H);
    if (ASource->PixelFormat() == pf24bit) {
        for (int Y = 0; Y < H; ++Y) memcpy(Copy->ScanLine(Y), ASource->ScanLine(Y), size_t(W) * 3);
    } else {
        for (int Y = 0; Y < H; ++Y) {
            auto* S = static_cast<const uint8_t*>(ASource->ScanLine(Y));
            auto* D = static_cast<uint8_t*>(Copy->ScanLine(Y));
            for (int X = 0; X < W; ++X) memcpy(D + X * 3, S + X * 4, 3);
        }
    }
    return Copy;
}

// Every preview window shares one application message hook, which lets a window be
// dragged by any point of its picture; the hook that was installed before is kept and
// put back when the last preview window goes, whatever order the windows go in.
struct TDragHook {
    std::vector<HWND> Windows;
    TMessageEvent Saved;
    bool Installed = false;
} DragHook;

void PreviewMessage(TMsg& AMsg, bool& AHandled)
{
    if (AMsg.message == WM_LBUTTONDOWN &&
        std::find(DragHook.Windows.begin(), DragHook.Windows.end(), AMsg.hwnd) != DragHook.Windows.end()) {
        SendMessage(AMsg.hwnd, WM_NCLBUTTONDOWN, HTCAPTION, PointToLParam(AMsg.pt));
        AHandled = true;
        return;
    }
    if (DragHook.Saved) DragHook.Saved(AMsg, AHandled);
}

void AddDragWindow(HWND AWnd)
{
    if (!Application) return;
    if (!DragHook.Installed) {
        DragHook.Saved = Application->OnMessage;
        Application->OnMessage = PreviewMessage;
        DragHook.Installed = true;
    }
    DragHook.Windows.push_back(AWnd);
}

void RemoveDragWindow(HWND AWnd)
{
    auto It = std::find(DragHook.Windows.begin(), DragHook.Windows.end(), AWnd);
    if (It == DragHook.Windows.end()) return;
    DragHook.Windows.erase(It);
    if (DragHook.Windows.empty() && DragHook.Installed) {
        if (Application) Application->OnMessage = DragHook.Saved;
        DragHook.Saved = nullptr;
        DragHook.Installed = false;
    }
}

}  // namespace

struct TPreviewer::TState {
    std::atomic<bool> Closed{false};
    std::atomic<bool> Dead{false};  // the previewer has been freed
    // The picture waiting for the GUI thread, under Lock.
    std::mutex Lock;
    std::unique_ptr<TBitmap> Pending;
    int FrameNumber = 0;
    int64_t PTS = AV_NOPTS_VALUE;
    bool Queued = false;
    // GUI thread only.
    TPreviewForm* Form = nullptr;
    HWND FormHandle = nullptr;
};

namespace {

class TPreviewForm : public TForm {
public:
    TPreviewForm(std::shared_ptr<TPreviewer::TState> AState) : TForm(nullptr), FState(std::move(AState)) {}
    ~TPreviewForm() override
    {
        RemoveDragWindow(FState->FormHandle);
        FState->Form = nullptr;
        FState->FormHandle = nullptr;
    }
    std::unique_ptr<TBitmap> Image;

protected:
    void PaintWindow(HDC DC) override
    {
        if (Image && !Image->Empty())
            BitBlt(DC, 0, 0, Image->Width(), Image->Height(), Image->Canvas()->Handle(), 0, 0, SRCCOPY);
    }

private:
    std::shared_ptr<TPreviewer::TState> FState;
};

// GUI thread: shows the picture that waits, making the window on the first one.
void ShowPending(const std::shared_ptr<TPreviewer::TState>& S)
{
    std::unique_ptr<TBitmap> Bitmap;
    int64_t PTS;
    {
        std::lock_guard Guard(S->Lock);
        Bitmap = std::move(S->Pending);
        PTS = S->PTS;
        S->Queued = false;
    }
    if (!Bitmap || S->Dead || S->Closed) return;
    if (!S->Form) {
        InitForms();
        auto* Form = new TPreviewForm(S);
        Form->AfterConstruction();
        Form->SetFormStyle(fsStayOnTop);
        Form->SetBorderStyle(bsToolWindow);
        Form->SetBorderIcons(TBorderIcons{biSystemMenu});
        Form->SetPosition(poScreenCenter);
        std::weak_ptr<TPreviewer::TState> Weak = S;
        Form->OnCloseQuery = [Weak](TObject*, bool&) {
            if (auto St = Weak.lock()) St->Closed = true;
        };
        // Sized to the first picture only; later, larger pictures are clipped.
        Form->SetClientWidth(Bitmap->Width());
        Form->SetClientHeight(Bitmap->Height());
        S->Form = Form;
        S->FormHandle = Form->Handle();
        AddDragWindow(S->FormHandle);
        Form->Show();
    }
    S->Form->SetCaption(FormatTimestamp(PTS));
    S->Form->Image = std::move(Bitmap);
    S->Form->Invalidate();
    S->Form->Update();
}

void FreeForm(const std::shared_ptr<TPreviewer::TState>& S)
{
    delete S->Form;  // the form's destructor clears S->Form
}

}  // namespace

TPreviewer::TPreviewer() : F(std::make_shared<TState>()) {}

TPreviewer::~TPreviewer()
{
    F->Dead = true;
    std::shared_ptr<TState> S = F;
    // The window goes on the GUI thread; another thread does not wait for it.
    if (IsMainThread())
        FreeForm(S);
    else
        TThread::Queue(nullptr, [S] { FreeForm(S); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS)
{
    if (F->Closed) return false;
    if (!ABitmap || ABitmap->Empty()) return true;
    std::unique_ptr<TBitmap> Copy = CopyBitmap(ABitmap);
    bool Queue;
    {
        std::lock_guard Guard(F->Lock);
        F->Pending = std::move(Copy);
        F->FrameNumber = AFrameNumber;
        F->PTS = APTS;
        Queue = !F->Queued;
        F->Queued = true;
    }
    if (Queue) {
        std::shared_ptr<TState> S = F;
        TThread::Queue(nullptr, [S] { ShowPending(S); });
    }
    return !F->Closed;
}

bool TPreviewer::Closed() const { return F->Closed; }

TForm* TPreviewer::Form() const { return F->Form; }

HWND TPreviewer::FormHandle() const { return F->FormHandle; }
