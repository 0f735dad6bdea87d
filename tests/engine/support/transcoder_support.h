// Support of the transcoder tests: a transcoder over the loaded libraries, and small
// media files made once per test process with the real ffmpeg.
#pragma once

#include "engine/transcode/FFmpeg.h"
#include "support/engine_support.h"

#include <gtest/gtest.h>

#include <memory>

namespace transcodertest {

// The transcoder's media folder (trailing "/"): av.avi (320x240 25 fps mpeg4 + 44.1 kHz
// stereo mp2, 0.4 s), vga.nut (640x480 25 fps), slow.nut (160x120 15 fps), tone.wav
// (audio only, 0.3 s), late.nut (starts at 1.4 s), prog.ts (program 1).
const String& Folder();
String Media(const String& AName);

// A transcoder ready for options (libraries loaded, Reset done).
std::unique_ptr<TCustomFFmpeg> NewTranscoder(int AMaxFiles = 20);

// Opens av.avi and the output AOptions.FileName with the record applied in the task
// list's order, expects AStreams output streams, starts every encoder with its stream's
// settings and writes the header and trailer (no packets).  Failures are test failures.
void ExpectOutputOpens(const TOutputOptions& AOptions, unsigned AStreams);

// Runs AStep, which must throw an Exception whose message is AMessage.
template <class F>
void ExpectFails(F AStep, const String& AMessage)
{
    try {
        AStep();
        ADD_FAILURE() << "no exception; expected: " << AMessage;
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), AMessage);
    }
}

}  // namespace transcodertest
