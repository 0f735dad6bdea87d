// Desktop services with effects outside the program: opening a folder, file or address
// with the desktop's opener (xdg-open), playing a sound file, powering the machine off.
// All of them start programs through the command runner (Runner.h), never a shell.
#pragma once

#include "platform/shell/ShlObj.h"
#include "platform/windows/Windows.h"

// ---- opening with the desktop's opener ----------------------------------------------------
// ShellExecute answers a value above 32 when the opener started, else an error number.
constexpr intptr_t SE_ERR_FNF = 2, SE_ERR_PNF = 3, SE_ERR_ACCESSDENIED = 5, SE_ERR_OOM = 8,
                   SE_ERR_NOASSOC = 31;
// The verb "open" (or none, which means the default verb, open) of a folder, file,
// web address or mail address runs "xdg-open <File>".  Parameters and folder are not
// passed on (the opener takes one argument); other verbs give SE_ERR_NOASSOC, an
// empty file SE_ERR_FNF, an opener that cannot be started SE_ERR_NOASSOC.
intptr_t ShellExecute(HWND Wnd, const char* Operation, const String& File, const String& Parameters = "",
                      const String& Directory = "", int ShowCmd = SW_SHOWNORMAL);
inline intptr_t ShellExecuteW(HWND Wnd, const char* Operation, const String& File, const String& Parameters = "",
                              const String& Directory = "", int ShowCmd = SW_SHOWNORMAL)
{
    return ShellExecute(Wnd, Operation, File, Parameters, Directory, ShowCmd);
}

constexpr ULONG SEE_MASK_DEFAULT = 0, SEE_MASK_IDLIST = 0x4, SEE_MASK_INVOKEIDLIST = 0xC,
                SEE_MASK_NOCLOSEPROCESS = 0x40, SEE_MASK_FLAG_NO_UI = 0x400;
struct SHELLEXECUTEINFO {
    DWORD cbSize = sizeof(SHELLEXECUTEINFO);
    ULONG fMask = 0;
    HWND hwnd = nullptr;
    const char* lpVerb = nullptr;
    String lpFile;
    String lpParameters;
    String lpDirectory;
    int nShow = SW_SHOWNORMAL;
    intptr_t hInstApp = 0;  // out: the ShellExecute result
    LPCITEMIDLIST lpIDList = nullptr;  // with SEE_MASK_IDLIST: the item to open instead of lpFile
};
using SHELLEXECUTEINFOW = SHELLEXECUTEINFO;
// As ShellExecute; with SEE_MASK_IDLIST the item list names the item (its path; items
// outside the file system cannot be opened).  True when the opener started.
bool ShellExecuteEx(SHELLEXECUTEINFO* Info);
inline bool ShellExecuteExW(SHELLEXECUTEINFO* Info) { return ShellExecuteEx(Info); }

// ---- sound -----------------------------------------------------------------------------------------
constexpr DWORD SND_SYNC = 0x0, SND_ASYNC = 0x1, SND_NODEFAULT = 0x2, SND_NOSTOP = 0x10,
                SND_FILENAME = 0x20000;
// Plays the sound file Sound (SND_FILENAME) with the first sound player found (paplay,
// pw-play, aplay): without waiting with SND_ASYNC, else until it ends.  A missing file
// plays nothing and answers false; so does a system without a player.
bool PlaySound(const String& Sound, void* Module, DWORD Flags);
inline bool PlaySoundW(const String& Sound, void* Module, DWORD Flags) { return PlaySound(Sound, Module, Flags); }

// ---- process privileges ----------------------------------------------------------------------------
// A program enables the shutdown privilege of its process's token before it asks to
// power off.  Here the system (logind through polkit) decides at the power-off request
// itself, so a token only keeps which of the privileges it knows are enabled, and the
// calls answer as they would for a user who holds them.
using HANDLE = void*;
struct LUID {
    DWORD LowPart = 0;
    LONG HighPart = 0;
};
struct LUID_AND_ATTRIBUTES {
    LUID Luid;
    DWORD Attributes = 0;
};
struct TOKEN_PRIVILEGES {
    DWORD PrivilegeCount = 0;
    LUID_AND_ATTRIBUTES Privileges[1];
};
constexpr DWORD TOKEN_QUERY = 0x8, TOKEN_ADJUST_PRIVILEGES = 0x20, SE_PRIVILEGE_ENABLED = 0x2;
constexpr const char* SE_SHUTDOWN_NAME = "SeShutdownPrivilege";
// The pseudo handle of the running process.
HANDLE GetCurrentProcess();
// A token of the running process (Process must be GetCurrentProcess()) opened for Access
// (TOKEN_QUERY and/or TOKEN_ADJUST_PRIVILEGES); close it with CloseHandle.
bool OpenProcessToken(HANDLE Process, DWORD Access, HANDLE* Token);
// The identifier of a privilege by name (SystemName: nullptr or "" for this machine);
// false for a name the system does not know.
bool LookupPrivilegeValue(const char* SystemName, const char* Name, LUID* Luid);
// Enables (SE_PRIVILEGE_ENABLED) or disables the privileges of NewState, or all of them
// (DisableAll); PreviousState (when given) receives the earlier state of those changed.
// False for a token not opened for adjusting or an unknown privilege.
bool AdjustTokenPrivileges(HANDLE Token, bool DisableAll, const TOKEN_PRIVILEGES* NewState, DWORD BufferLength,
                           TOKEN_PRIVILEGES* PreviousState, DWORD* ReturnLength);
// Whether a privilege is enabled in the token (the query the adjustments change).
bool TokenPrivilegeEnabled(HANDLE Token, const LUID& Luid);
// Closes a token (the only objects handed out by these calls).
bool CloseHandle(HANDLE Object);

// ---- ending the session ---------------------------------------------------------------------------
constexpr UINT EWX_LOGOFF = 0, EWX_SHUTDOWN = 0x1, EWX_REBOOT = 0x2, EWX_FORCE = 0x4, EWX_POWEROFF = 0x8;
// Shutting down (EWX_SHUTDOWN or EWX_POWEROFF, as the value 13 has) powers the machine
// off through "systemctl poweroff", else "loginctl poweroff"; true when one of them
// accepted.  Logging off and rebooting are not offered (false).
bool ExitWindowsEx(UINT Flags, DWORD Reason);

// ---- the notification area (system tray) ---------------------------------------------------
constexpr DWORD NIM_ADD = 0, NIM_MODIFY = 1, NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 0x1, NIF_ICON = 0x2, NIF_TIP = 0x4, NIF_STATE = 0x8, NIF_INFO = 0x10;
struct NOTIFYICONDATA {
    DWORD cbSize = sizeof(NOTIFYICONDATA);
    HWND hWnd = nullptr;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = nullptr;
    String szTip;
    DWORD dwState = 0, dwStateMask = 0;
    String szInfo;
    UINT uTimeout = 0;
    String szInfoTitle;
    DWORD dwInfoFlags = 0;
};
using NOTIFYICONDATAW = NOTIFYICONDATA;
// Puts an icon into the desktop's notification area through the X11 system tray
// protocol (a small window of our own docked by the tray manager), changes or removes
// it.  Mouse presses, releases and moves on the icon reach hWnd as uCallbackMessage
// with WParam = uID and LParam = the mouse message (WM_LBUTTONDOWN ...).  A new tray
// manager gets the icon again by itself.  Without a display or without a tray
// manager (as under Xvfb) there is no icon and the call answers false; balloon texts
// (NIF_INFO) are not shown and answer false.
bool Shell_NotifyIcon(DWORD Message, NOTIFYICONDATA* Data);
inline bool Shell_NotifyIconW(DWORD Message, NOTIFYICONDATA* Data) { return Shell_NotifyIcon(Message, Data); }
