// The preview window of a running conversion: a small window of its own that stays on
// top of other windows and shows the pictures the transcoder hands it, with the
// picture's time as its caption.  Once the user closes it, it stays closed.
//
// PaintFrame may be called from any thread and never waits for the GUI thread: the
// picture is copied and its showing is queued to the GUI thread (a newer picture
// replaces one that is still waiting).  The window is made, painted and freed on the
// GUI thread only.
#pragma once

#include "platform/forms/Forms.h"
#include "platform/graphics/Graphics.h"
#include "platform/system/Classes.h"

#include <cstdint>
#include <memory>

class TPreviewer : public TObject {
public:
    TPreviewer();
    ~TPreviewer() override;

    // Shows a copy of ABitmap with its frame number and time (microseconds); false
    // once the window has been closed, and then nothing is shown.
    bool PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS);
    bool Closed() const;

    // The preview window and its handle (GUI thread; null before the first picture
    // has been shown and after the window has gone).
    TForm* Form() const;
    HWND FormHandle() const;

    struct TState;

private:
    std::shared_ptr<TState> F;
};
