// Program start: Main shows the splash, loads the main window and closes the splash again.
#pragma once

class frmMain;

// Returns the main window, which lives until the program ends.
frmMain *Main();

// The whole program: application object, translations, Main, event loop.
int runVelmar(int argc, char *argv[]);
