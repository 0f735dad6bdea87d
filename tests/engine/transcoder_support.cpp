#include "transcoder_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace transcodertest {

const String& Folder()
{
    // Made once beside the engine's shared media: in a scratch folder renamed into place,
    // so that test processes running at once never see a half-made folder.
    static const String folder = enginetest::GeneratedFolder(enginetest::MediaFolder() + "transcoder/", [](const String& dir) {
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
        for (const auto& f : files) enginetest::RunFFmpeg(f.Args, dir + f.Name);
    });
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
