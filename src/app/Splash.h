#pragma once

#include <QWidget>

// The window shown while the program starts: its icon and title, no border.
class frmSplash : public QWidget {
    Q_OBJECT

public:
    explicit frmSplash(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};
