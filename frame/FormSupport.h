// What the frame's small dialogs share: centring on the screen, the program's picture and the
// program-wide random numbers.
#pragma once

#include <QPixmap>
#include <functional>

class QWidget;

// Moves a window so that its outer size is centred on the screen (in twips, as the screen
// object measures).
void centreOnScreen(QWidget *window);

// The program's picture at the given edge length in pixels.
QPixmap programPicture(int size);

// A random number from 0 inclusive to 1 exclusive, from a generator seeded from the clock.
double Rnd();
// Seeds the generator from the clock again.
void Randomize();
// Tests replace the generator; an empty function restores it.
void setRandomSource(std::function<double()> source);
