// The program's forms on a display for its display tests: a scratch program folder and
// home, SDL's X11 video with dummy audio, the X11 backend, the forms created as the
// program creates them and the main window shown and drawn; clicks through the server's
// synthetic input and clips made by the real ffmpeg.
#pragma once

#include <gtest/gtest.h>

#include "platform/forms/Controls.h"

// A scratch program folder ("<Root>/prog") and home ("<Root>/home"), the screen and the
// synthetic input open; the forms, when a test sets FormsUp, are done at the end.
class ScratchProgramDisplay : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    String Root, OldHome;
    bool Opened = false, FormsUp = false;
};

// ... with the program's forms created on the X11 backend and the main window drawn.
class ProgramFormsDisplay : public ScratchProgramDisplay {
protected:
    void SetUp() override;
    // Runs in the scratch folders before the forms are created (a settings file to start
    // from, say).
    virtual void BeforeForms() {}
};

namespace skinscreen {

// A press and release of the left button at the centre of the control.
void ClickOn(TControl* C);
// A colourful clip of ASeconds with a 440 Hz tone ("WxH" pictures at 25 a second, MPEG-4
// video and PCM audio); empty when ffmpeg could not make it.
String MakeClip(const String& AFile, int ASeconds, const String& ASize);

}  // namespace skinscreen
