// Opening with the desktop's opener, sound playback and powering off, all through the
// command runner.
#include "platform/shell/ShellAPI.h"

#include <map>
#include <mutex>
#include <set>

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

// ---- process privileges ------------------------------------------------------------------------
namespace {

struct TToken {
    DWORD Access = 0;
    std::set<DWORD> Enabled;
};
std::mutex TokenLock;
std::map<HANDLE, std::unique_ptr<TToken>>& Tokens()
{
    static std::map<HANDLE, std::unique_ptr<TToken>> T;
    return T;
}
// The privileges this system knows, by their usual identifiers.
const std::map<String, DWORD>& KnownPrivileges()
{
    static const std::map<String, DWORD> P = {{"SeShutdownPrivilege", 19}};
    return P;
}
TToken* FindToken(HANDLE H)
{
    auto It = Tokens().find(H);
    return It == Tokens().end() ? nullptr : It->second.get();
}

}  // namespace

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(intptr_t(-1)); }

bool OpenProcessToken(HANDLE Process, DWORD Access, HANDLE* Token)
{
    if (!Token || Process != GetCurrentProcess() || !(Access & (TOKEN_QUERY | TOKEN_ADJUST_PRIVILEGES))) return false;
    std::lock_guard<std::mutex> G(TokenLock);
    auto T = std::make_unique<TToken>();
    T->Access = Access;
    *Token = T.get();
    Tokens()[*Token] = std::move(T);
    return true;
}

bool LookupPrivilegeValue(const char* SystemName, const char* Name, LUID* Luid)
{
    if (SystemName && *SystemName) return false;  // no other machines
    if (!Name || !Luid) return false;
    auto It = KnownPrivileges().find(Name);
    if (It == KnownPrivileges().end()) return false;
    *Luid = LUID{It->second, 0};
    return true;
}

bool AdjustTokenPrivileges(HANDLE Token, bool DisableAll, const TOKEN_PRIVILEGES* NewState, DWORD,
                           TOKEN_PRIVILEGES* PreviousState, DWORD* ReturnLength)
{
    std::lock_guard<std::mutex> G(TokenLock);
    TToken* T = FindToken(Token);
    if (!T || !(T->Access & TOKEN_ADJUST_PRIVILEGES)) return false;
    std::set<DWORD> Old = T->Enabled;
    if (DisableAll) {
        T->Enabled.clear();
    } else {
        if (!NewState) return false;
        for (DWORD I = 0; I < std::min<DWORD>(NewState->PrivilegeCount, 1); ++I) {
            const LUID_AND_ATTRIBUTES& P = NewState->Privileges[I];
            bool Known = false;
            for (const auto& K : KnownPrivileges()) Known = Known || (K.second == P.Luid.LowPart && P.Luid.HighPart == 0);
            if (!Known) return false;
            if (P.Attributes & SE_PRIVILEGE_ENABLED) T->Enabled.insert(P.Luid.LowPart);
            else T->Enabled.erase(P.Luid.LowPart);
        }
    }
    if (PreviousState) {
        PreviousState->PrivilegeCount = 0;
        if (!NewState || DisableAll) {
            if (!Old.empty()) {
                PreviousState->PrivilegeCount = 1;
                PreviousState->Privileges[0] = {LUID{*Old.begin(), 0}, SE_PRIVILEGE_ENABLED};
            }
        } else if (NewState->PrivilegeCount) {
            DWORD Id = NewState->Privileges[0].Luid.LowPart;
            PreviousState->PrivilegeCount = 1;
            PreviousState->Privileges[0] = {LUID{Id, 0}, Old.count(Id) ? SE_PRIVILEGE_ENABLED : 0u};
        }
    }
    if (ReturnLength) *ReturnLength = DWORD(sizeof(TOKEN_PRIVILEGES));
    return true;
}

bool TokenPrivilegeEnabled(HANDLE Token, const LUID& Luid)
{
    std::lock_guard<std::mutex> G(TokenLock);
    TToken* T = FindToken(Token);
    return T && Luid.HighPart == 0 && T->Enabled.count(Luid.LowPart) != 0;
}

bool CloseHandle(HANDLE Object)
{
    std::lock_guard<std::mutex> G(TokenLock);
    return Tokens().erase(Object) != 0;
}
