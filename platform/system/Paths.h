// Where the program and the user's files are.
#pragma once

#include "platform/system/Types.h"

// The program's executable file, from /proc/self/exe.
String ProgramFileName();
// The program's folder with a trailing "/".
String ProgramFolder();
// The program's file name without folder and extension.
String ProgramName();
// Makes ProgramFolder() return AFolder (a trailing "/" is added); an empty text goes back
// to the executable's folder.  Tests use this to point the program at a scratch folder.
void SetProgramFolder(const String& AFolder);
// $HOME (else the password database's home), with a trailing "/".
String HomeFolder();
// $XDG_CONFIG_HOME when absolute, else $HOME/.config; with a trailing "/".
String XdgConfigFolder();
// The system's folder for temporary files ($TMPDIR or /tmp), with a trailing "/".
String TempFolder();
