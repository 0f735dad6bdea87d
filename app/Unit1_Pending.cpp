// Stand-ins for the main window's routines whose concerns are not built yet.  Each one
// does the least the window needs meanwhile; the concern's own file (named above each)
// defines the real routine, and its stand-in is deleted from here in the same change.
#include "app/Unit1.h"

#include "engine/FFPlay.h"
#include "skin/core/bsSkinData.h"
