// Shared support of the engine tests: the FFmpeg libraries loaded once per process,
// a folder of small media files made with the real ffmpeg, and the real ffprobe.
#pragma once

#include "platform/system/Types.h"

#include <functional>
#include <vector>

namespace enginetest {

// Loads the player's set of libraries from the system (once per process).
bool LoadLibraries();

// The folder of generated media, with a trailing "/"; made once and shared by every
// test process (generated into a scratch folder, then renamed into place).
const String& MediaFolder();
// MediaFolder() + AName.
String Media(const String& AName);

// Grey level of frame AIndex of the grey clips (25 fps, 25 frames, 64x48).
constexpr int GreyLevel(int AIndex) { return 16 + 8 * AIndex; }
constexpr int GreyFrames = 25;

// A folder of generated files, made once and shared by every test process: AGenerate
// fills a scratch folder, which is then renamed to AFolder (with a trailing "/"), so no
// process ever sees a half-made folder.  Returns AFolder.
String GeneratedFolder(const String& AFolder, const std::function<void(const String& ADir)>& AGenerate);
// Runs "ffmpeg <AArgs> <AOutput>" quietly; throws when it fails.
void RunFFmpeg(const String& AArgs, const String& AOutput);

// Runs a command through the shell and returns its standard output.
String RunCommand(const String& ACommand);
// ffprobe -v error <AArgs> <AFile>, its output.
String FFprobe(const String& AArgs, const String& AFile);
// A new empty scratch folder (with trailing "/"), removed with what it holds when the test
// program ends.
String ScratchFolder();

// Log lines collected from the global logger (its events delivered on the calling
// thread) while the object lives.
class TLogCapture {
public:
    TLogCapture();
    ~TLogCapture();
    std::vector<String> Lines() const;
    bool Contains(const String& AText) const;

private:
    struct TImpl;
    TImpl* F;
};

}  // namespace enginetest
