// A named pipe fed by a thread of its own, for the tests of inputs that stall.
#pragma once

#include "platform/system/Types.h"

#include <atomic>
#include <thread>

namespace enginetest {

// Makes the named pipe APath and a writer for it.  With AConnect the writer opens the
// pipe as soon as a reader has it open, writes the first AShare (0 to 1) of the file
// ASource and then holds the pipe open, delivering nothing, until Release() (or 10 s
// went by); without AConnect it opens the pipe only then, and closes it at once.  The
// destructor releases the writer and waits for it.
class TPipeFeeder {
public:
    TPipeFeeder(const String& APath, const String& ASource, double AShare, bool AConnect = true);
    ~TPipeFeeder();
    TPipeFeeder(const TPipeFeeder&) = delete;
    TPipeFeeder& operator=(const TPipeFeeder&) = delete;

    void Release() { FRelease = true; }
    // True once the writer has closed its end.
    bool Closed() const { return FClosed; }

private:
    void Run(const String& APath, const String& AData, bool AConnect);

    std::atomic<bool> FRelease{false}, FClosed{false};
    std::thread FThread;
};

}  // namespace enginetest
