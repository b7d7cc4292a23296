#pragma once

#include <QWidget>

// The window shown while the program starts: its icon and title, no border.
class frmSplash : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

    // Shows the splash and draws it once the window system has put it on the screen, which
    // under a window manager takes several round trips; a second at most.
    void showOnScreen();
    // Waits with the events going on, so that the splash is drawn again whenever it is
    // uncovered; input waits until the main window is there.
    void stayFor(int milliseconds);

protected:
    void showEvent(QShowEvent* event) override;
};
