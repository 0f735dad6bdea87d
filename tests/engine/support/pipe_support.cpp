#include "support/pipe_support.h"

#include <chrono>
#include <csignal>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace enginetest {

namespace {
constexpr auto HoldLimit = std::chrono::seconds(10);
}

TPipeFeeder::TPipeFeeder(const String& APath, const String& ASource, double AShare, bool AConnect)
{
    // A reader that goes away must give the writer an error, not end the test process.
    signal(SIGPIPE, SIG_IGN);
    if (mkfifo(APath.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + APath);
    String Data;
    if (!ASource.empty()) {
        std::ifstream In(ASource, std::ios::binary);
        Data.assign(std::istreambuf_iterator<char>(In), {});
        Data.resize(size_t(double(Data.size()) * AShare));
    }
    FThread = std::thread([this, APath, Data, AConnect] { Run(APath, Data, AConnect); });
}

TPipeFeeder::~TPipeFeeder()
{
    Release();
    FThread.join();
}

void TPipeFeeder::Run(const String& APath, const String& AData, bool AConnect)
{
    const auto Deadline = std::chrono::steady_clock::now() + HoldLimit;
    auto Holding = [&] { return !FRelease && std::chrono::steady_clock::now() < Deadline; };
    int Fd = -1;
    if (AConnect) {
        // Opening for writing without blocking succeeds once a reader has the pipe open.
        while (Holding() && (Fd = open(APath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        if (Fd >= 0) {
            fcntl(Fd, F_SETFL, fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
            for (size_t Done = 0; Done < AData.size();) {
                const ssize_t N = write(Fd, AData.data() + Done, AData.size() - Done);
                if (N <= 0) break;
                Done += size_t(N);
            }
        }
    }
    while (Holding()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (Fd < 0) Fd = open(APath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd >= 0) close(Fd);
    FClosed = true;
}

}  // namespace enginetest
