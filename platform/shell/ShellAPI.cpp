// Opening with the desktop's opener, sound playback and powering off, all through the
// command runner.
#include "platform/shell/ShellAPI.h"

#include "platform/shell/Runner.h"

intptr_t ShellExecute(HWND, const char* Operation, const String& File, const String&, const String&, int)
{
    String Verb = Operation ? LowerCase(Operation) : String();
    if (!Verb.empty() && Verb != "open") return SE_ERR_NOASSOC;
    if (File.empty()) return SE_ERR_FNF;
    return CommandRunner().Start({"xdg-open", File}) ? 33 : SE_ERR_NOASSOC;
}

bool ShellExecuteEx(SHELLEXECUTEINFO* Info)
{
    if (!Info) return false;
    String File = Info->lpFile;
    if (Info->fMask & SEE_MASK_IDLIST) {
        if (!SHGetPathFromIDList(Info->lpIDList, File)) {
            Info->hInstApp = SE_ERR_NOASSOC;
            return false;
        }
    }
    Info->hInstApp = ShellExecute(Info->hwnd, Info->lpVerb, File, Info->lpParameters, Info->lpDirectory, Info->nShow);
    return Info->hInstApp > 32;
}

bool PlaySound(const String& Sound, void*, DWORD Flags)
{
    if (Sound.empty() || !FileExists(Sound)) return false;
    static const std::vector<std::vector<String>> Players = {{"paplay"}, {"pw-play"}, {"aplay", "-q"}};
    for (const auto& P : Players) {
        std::vector<String> Argv = P;
        Argv.push_back(Sound);
        if (Flags & SND_ASYNC) {
            if (CommandRunner().Start(Argv)) return true;
        } else if (CommandRunner().Run(Argv) >= 0) {
            return true;
        }
    }
    return false;
}

bool ExitWindowsEx(UINT Flags, DWORD)
{
    if (!(Flags & (EWX_SHUTDOWN | EWX_POWEROFF)) || (Flags & EWX_REBOOT)) return false;
    if (CommandRunner().Run({"systemctl", "poweroff"}) == 0) return true;
    return CommandRunner().Run({"loginctl", "poweroff"}) == 0;
}
