#include "BackupFiles.h"
#include "Common.h"
#include "MainWindow.h"
#include "frmInsatu.h"
#include "frmJyouken.h"
#include "frmStaff.h"
#include "modOption.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>

namespace {

// The menu commands whose screens live in the subsystems above the shell.
void ConnectScreens(frmMDIForm* mainWindow)
{
    QObject::connect(mainWindow, &frmMDIForm::inputRequested, mainWindow,
                     [] { ShowPeriodScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::staffRequested, mainWindow,
                     [] { ShowStaffScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::printRequested, mainWindow,
                     [] { ShowPrintScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::dataOutRequested, mainWindow,
                     [mainWindow] { DataOut(mainWindow); });
    QObject::connect(mainWindow, &frmMDIForm::dataInRequested, mainWindow,
                     [mainWindow] { DataIn(mainWindow); });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    InstallJapaneseTranslation();
    InstallFontSubstitutes();
    const QString folder = ProgramFolder();

    // One running copy per program folder; a copy that crashed leaves a lock that is taken over.
    const QByteArray key =
        QCryptographicHash::hash(folder.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    QLockFile lock(QDir::temp().filePath(QStringLiteral("nubira-%1.lock").arg(key)));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0))
        return 0;

    RecoverInterruptedRestore(DatabasePath(folder));
    if (!Main(folder))
        return 0;
    ConnectScreens(gMDIForm.data());
    return app.exec();
}
