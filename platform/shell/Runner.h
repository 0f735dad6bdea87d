// The one door through which the program starts other programs.
//
// Every side effect with consequences outside the program (opening a folder, file or
// address with the desktop's opener, playing a sound, powering the machine off) starts
// a program through the command runner: with an argument vector, never through a
// shell, so that a path or an address can never turn into a command.
//
// Until the program installs the system runner (MakeSystemRunner, done once by the
// program's start-up code), the runner in use is an inert one that starts nothing and
// reports every command as failed.  Tests therefore cannot open, play or power off
// anything unless they install a runner themselves (usually a recording fake).
#pragma once

#include <memory>
#include <vector>

#include "platform/system/Types.h"

class TCommandRunner {
public:
    virtual ~TCommandRunner() = default;
    // Starts Argv[0] (looked up in PATH when it holds no "/") with the other elements as
    // its arguments, standard input from /dev/null, without waiting for it.  True when
    // the program started; its exit is collected in the background (no zombies).
    virtual bool Start(const std::vector<String>& Argv) = 0;
    // Runs the program and waits for it; its exit status (0-255), or -1 when it could not
    // be started or ended by a signal.
    virtual int Run(const std::vector<String>& Argv) = 0;
};

// The runner in use (the inert one until another is installed).
TCommandRunner& CommandRunner();
// Installs ARunner (nullptr: the inert runner) and returns the one it replaces.
std::unique_ptr<TCommandRunner> SetCommandRunner(std::unique_ptr<TCommandRunner> ARunner);
// A runner that really starts programs (posix_spawnp, no shell).
std::unique_ptr<TCommandRunner> MakeSystemRunner();
// Whether the runner in use is the inert one.
bool CommandRunnerInert();
