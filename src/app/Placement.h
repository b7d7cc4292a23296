#pragma once

class QWidget;
class QIcon;
class QLabel;
class QRect;

// Twips (1440 to the inch) in device pixels of the widget's screen.
int TwipsToPixels(int twips, const QWidget* widget);

// Centres the window across the screen with its top at (screen height - window height - 1000
// twips) / 2, as the program's small windows and centred screens stand.
void PlaceCentred(QWidget* window);

// The program's icon, drawn: a stopwatch face.
QIcon ProgramIcon();

// The product title "ヌビラ" of the splash and version windows, at geometry in the parent.
QLabel* AddProductTitle(QWidget* parent, const QRect& geometry);
