// The base of the engine's components: each loads its own set of libraries through
// the process-wide loader and keeps the text of its last failure.
#pragma once

#include "engine/libs/FFmpegLoader.h"
#include "platform/system/Classes.h"

using TPathFileName = String;

class TFFBaseComponent : public TComponent {
public:
    explicit TFFBaseComponent(TComponent* AOwner, TLibraries ALibraries)
        : TComponent(AOwner), FLibraries(ALibraries)
    {
    }

    // Loads the component's libraries from APath (the program's folder + "LibAV"; an
    // empty path uses the system's libraries).  False with LastErrMsg on failure.
    bool LoadAVLib(const TPathFileName& APath);
    bool AVLibLoaded() const;
    void UnloadAVLib();

    const String& LastErrMsg() const { return FLastErrMsg; }
    TLibraries Libraries() const { return FLibraries; }

protected:
    String FLastErrMsg;

private:
    TLibraries FLibraries;
};
