// Program start: the application object, then Main.
#pragma once

int runVelmar(int argc, char *argv[]);
