// Files the tests make.  A test makes its files in a folder of its own under the folder for
// temporary files ($TEST_TMPDIR, $TMPDIR or /tmp, as testing::TempDir()) and removes that folder
// when it ends, so that a run of the suite leaves nothing behind (scripts/test checks it).
// Screenshots are kept only when VC_TEST_SHOTS names a folder for them.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vctest {

// The folder for temporary files, with a trailing "/".
inline std::string TempRoot()
{
    for (const char* Name : {"TEST_TMPDIR", "TMPDIR"})
        if (const char* D = std::getenv(Name); D && *D) {
            const std::string R = D;
            return R.back() == '/' ? R : R + "/";
        }
    return "/tmp/";
}

// A new empty folder "<temporary files><APrefix>XXXXXX", without a trailing "/"; empty when
// it could not be made.
inline std::string ScratchDir(const std::string& APrefix)
{
    std::string T = TempRoot() + APrefix + "XXXXXX";
    return mkdtemp(T.data()) ? T : std::string();
}

// A scratch folder (ScratchDir) removed with all it holds when the object goes.
class TScratch {
public:
    explicit TScratch(const std::string& APrefix) : Path(ScratchDir(APrefix)) {}
    ~TScratch()
    {
        std::error_code E;
        if (!Path.empty()) std::filesystem::remove_all(Path, E);
    }
    TScratch(const TScratch&) = delete;
    TScratch& operator=(const TScratch&) = delete;
    const std::string Path;
};

// The file a screenshot named AName is saved to, or empty when screenshots are not kept.
inline std::string ShotFile(const std::string& AName)
{
    const char* D = std::getenv("VC_TEST_SHOTS");
    if (!D || !*D) return std::string();
    return std::string(D) + "/" + AName;
}

}  // namespace vctest
