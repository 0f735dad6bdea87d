#include "transcoder_support.h"

#include <cstdlib>
#include <stdexcept>

namespace transcodertest {

const String& Folder()
{
    static const String folder = [] {
        String dir = enginetest::ScratchFolder();
        const String v = "-f lavfi -i testsrc=size=";
        struct {
            const char* Name;
            String Args;
        } files[] = {
            {"av.avi", v + "320x240:rate=25:duration=0.4 -f lavfi -i sine=f=440:sample_rate=44100:d=0.4 "
                           "-ac 2 -c:v mpeg4 -c:a mp2"},
            {"vga.nut", v + "640x480:rate=25:duration=0.2 -c:v mpeg4"},
            {"slow.nut", v + "160x120:rate=15:duration=0.4 -c:v mpeg4"},
            {"tone.wav", "-f lavfi -i sine=f=440:sample_rate=44100:d=0.3 -ac 2"},
            {"late.nut", v + "160x120:rate=25:duration=0.4 -c:v mpeg4 -output_ts_offset 1.4"},
            {"prog.ts", v + "160x120:rate=25:duration=0.2 -c:v mpeg2video -mpegts_service_id 1"},
        };
        for (const auto& f : files) {
            String cmd = "ffmpeg -nostdin -y -loglevel error " + f.Args + " '" + dir + f.Name + "' >/dev/null 2>&1";
            if (std::system(cmd.c_str()) != 0) throw std::runtime_error("ffmpeg failed: " + cmd);
        }
        return dir;
    }();
    return folder;
}

String Media(const String& AName) { return Folder() + AName; }

std::unique_ptr<TCustomFFmpeg> NewTranscoder(int AMaxFiles)
{
    if (!enginetest::LoadLibraries()) throw std::runtime_error("the FFmpeg libraries do not load");
    auto t = std::make_unique<TCustomFFmpeg>(AMaxFiles);
    t->Reset();
    return t;
}

}  // namespace transcodertest
