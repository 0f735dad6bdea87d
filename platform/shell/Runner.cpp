// The command runners: the inert default and the system runner over posix_spawnp.
#include "platform/shell/Runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <thread>

extern char** environ;

namespace {

class TInertRunner : public TCommandRunner {
public:
    bool Start(const std::vector<String>&) override { return false; }
    int Run(const std::vector<String>&) override { return -1; }
};

class TSystemRunner : public TCommandRunner {
public:
    bool Start(const std::vector<String>& Argv) override
    {
        pid_t Pid = Spawn(Argv);
        if (Pid <= 0) return false;
        // the child's exit is collected by a small thread of its own
        std::thread([Pid] {
            int Status = 0;
            while (waitpid(Pid, &Status, 0) < 0 && errno == EINTR) {}
        }).detach();
        return true;
    }

    int Run(const std::vector<String>& Argv) override
    {
        pid_t Pid = Spawn(Argv);
        if (Pid <= 0) return -1;
        int Status = 0;
        while (waitpid(Pid, &Status, 0) < 0) {
            if (errno != EINTR) return -1;
        }
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

private:
    static pid_t Spawn(const std::vector<String>& Argv)
    {
        if (Argv.empty() || Argv[0].empty()) return -1;
        std::vector<char*> Args;
        Args.reserve(Argv.size() + 1);
        for (const String& A : Argv) Args.push_back(const_cast<char*>(A.c_str()));
        Args.push_back(nullptr);

        posix_spawn_file_actions_t Actions;
        posix_spawn_file_actions_init(&Actions);
        posix_spawn_file_actions_addopen(&Actions, 0, "/dev/null", O_RDONLY, 0);
        // the child inherits none of our descriptors but the standard three
        posix_spawn_file_actions_addclosefrom_np(&Actions, 3);
        posix_spawnattr_t Attr;
        posix_spawnattr_init(&Attr);
        // a child of its own process group: a terminal's Ctrl+C to us does not reach it
        posix_spawnattr_setflags(&Attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
        posix_spawnattr_setpgroup(&Attr, 0);
        sigset_t Empty;
        sigemptyset(&Empty);
        posix_spawnattr_setsigmask(&Attr, &Empty);
        pid_t Pid = -1;
        int R = posix_spawnp(&Pid, Args[0], &Actions, &Attr, Args.data(), environ);
        posix_spawnattr_destroy(&Attr);
        posix_spawn_file_actions_destroy(&Actions);
        return R == 0 ? Pid : -1;
    }
};

std::mutex RunnerLock;
std::unique_ptr<TCommandRunner>& Current()
{
    static std::unique_ptr<TCommandRunner> R = std::make_unique<TInertRunner>();
    return R;
}
bool Inert = true;

}  // namespace

TCommandRunner& CommandRunner()
{
    std::lock_guard<std::mutex> G(RunnerLock);
    return *Current();
}

std::unique_ptr<TCommandRunner> SetCommandRunner(std::unique_ptr<TCommandRunner> ARunner)
{
    std::lock_guard<std::mutex> G(RunnerLock);
    Inert = !ARunner || dynamic_cast<TInertRunner*>(ARunner.get());
    if (!ARunner) ARunner = std::make_unique<TInertRunner>();
    std::swap(ARunner, Current());
    return ARunner;
}

std::unique_ptr<TCommandRunner> MakeSystemRunner() { return std::make_unique<TSystemRunner>(); }

bool CommandRunnerInert()
{
    std::lock_guard<std::mutex> G(RunnerLock);
    return Inert;
}
