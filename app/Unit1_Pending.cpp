// Stand-ins for the main window's routines whose concerns are not built yet.  Each one
// does the least the window needs meanwhile; the concern's own file (named above each)
// defines the real routine, and its stand-in is deleted from here in the same change.
#include "app/Unit1.h"

#include "engine/FFPlay.h"
#include "skin/core/bsSkinData.h"

// Unit1_Preview.cpp: the player is only stopped; nothing is opened.
void TForm1::Button31Click(TObject*) {}
void TForm1::StopPreview() { ZUZuzude->Stop(true); }
void TForm1::ResetSeekSlider() {}
void TForm1::BindPreviewEvents() {}

// Unit1_Menus.cpp: the skin index is not stored yet; the program's skin is index 0.
void TForm1::Button3Click(TObject*) { bsSkinData1->SetSkinIndex(0); }
void TForm1::BindMenuEvents() {}
