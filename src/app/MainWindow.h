#pragma once

#include <QMainWindow>
#include <QPointer>

class QMdiArea;
class frmHelp;

// The main window: a frame for the working screens, reached through its three menus.
class frmMDIForm : public QMainWindow {
    Q_OBJECT

public:
    explicit frmMDIForm(const QString& helpFile, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    QString helpFile() const { return m_helpFile; }

    // Brings the window to the front, restored when minimised: another start of the program
    // asks for it.
    void comeForward();

signals:
    // Commands whose screens live elsewhere.
    void dataOutRequested();
    void dataInRequested();
    void payrollRequested();
    void inputRequested();
    void printRequested();
    void staffRequested();
    void calendarRequested();
    void leaveLedgerRequested();
    void fiveDayRequested();
    void legalSettingsRequested();
    void agreementMonitorRequested();
    void helpContentsRequested();
    void helpKeywordRequested();
    void versionRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    frmHelp* showHelp();

    QMdiArea* m_mdiArea;
    QString m_helpFile;
};

// The main window while it is open.
extern QPointer<frmMDIForm> gMDIForm;
