// Folders and programs of this build that the tests use.  They are defined in one source
// the build generates (test_paths.cpp in the tests' build folder), and every test source
// sees this header, so that no other object holds a path of this clone: the compiler
// cache can then give those objects to another clone of the project.
#pragma once

extern const char* const VcSourceDir;       // the source tree
extern const char* const VcTestHookDir;     // the frame hook libraries, with a trailing "/"
extern const char* const VcSkinGenerator;   // the skin generator
extern const char* const VcProgramSkinDir;  // the generator's output in this build
extern const char* const VcProgram;         // the program
