#include "BackupFiles.h"
#include "Common.h"
#include "MainWindow.h"
#include "Messages.h"
#include "frmInsatu.h"
#include "frmJyouken.h"
#include "frmStaff.h"
#include "modOption.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

// The menu commands whose screens live in the subsystems above the shell.
void connectScreens(frmMDIForm* mainWindow)
{
    QObject::connect(mainWindow, &frmMDIForm::inputRequested, mainWindow,
                     [] { showPeriodScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::staffRequested, mainWindow,
                     [] { showStaffScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::printRequested, mainWindow,
                     [] { showPrintScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::dataOutRequested, mainWindow,
                     [mainWindow] { DataOut(mainWindow); });
    QObject::connect(mainWindow, &frmMDIForm::dataInRequested, mainWindow,
                     [mainWindow] { DataIn(mainWindow); });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installJapaneseTranslation();
    installFontSubstitutes();
    const QString folder = programFolder();

    // One running copy per database: the lock stands beside it, where no environment can move
    // it. A copy that crashed leaves a lock that is taken over.
    const QString database = databasePath(folder);
    QLockFile lock(QFileInfo(database).dir().filePath(QStringLiteral("nubira.lock")));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0)) {
        if (lock.error() == QLockFile::LockFailedError)
            return 0; // a live copy is at work on it
        ShowMsg(kMsgError,
                QStringLiteral("データフォルダ %1 に書き込めないため起動できません。"
                               "フォルダがあり、書き込みの権限があるか確認してください。")
                    .arg(QDir::toNativeSeparators(QFileInfo(database).path())));
        return 1;
    }

    recoverInterruptedRestore(database);
    if (!Main(folder))
        return 1;
    connectScreens(gMDIForm.data());
    return app.exec();
}
