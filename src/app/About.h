#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

// The version window, with a button that starts the system's information program.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // The system information programs looked for on PATH, in order.
    static QStringList systemInfoPrograms();
    // Starts the first of them found, or says that none is available.
    static void StartSysInfo();

protected:
    void showEvent(QShowEvent* event) override;
};

extern QPointer<frmAbout> gfrmAbout;
