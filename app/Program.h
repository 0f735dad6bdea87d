// The program's start-up: the application's title and help file, then its forms in their
// order (main window, about box, conversion options, settings dialog, preset dialog).
#pragma once

// Needs InitForms to have run.  The forms of units that are not part of the program
// are skipped.
void CreateProgramForms();

// When the connection to the display is lost, the program ends as on a close (running
// tasks stopped, their temporary outputs removed) with a line on standard error.
void WatchProgramDisplay();
