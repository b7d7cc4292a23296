#pragma once

class QWidget;

// Twips (1440 to the inch) in device pixels of the widget's screen.
int twipsToPixels(int twips, const QWidget* widget);

// Centres the window across the screen with its top at (screen height - window height - 1000
// twips) / 2, as the program's small windows and centred screens stand. A screen inside the main
// window is placed the same way in the main window's working area.
void placeCentred(QWidget* window);
// Stands the window 500 twips from the right edge and 20 twips from the top, on its screen or,
// inside the main window, in its working area.
void placeTopRight(QWidget* window);
