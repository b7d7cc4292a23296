#include "BackupFiles.h"
#include "Common.h"
#include "MainWindow.h"
#include "Messages.h"
#include "ProgramFolders.h"
#include "SingleInstance.h"
#include "frmCalendar.h"
#include "frmInsatu.h"
#include "frmJyouken.h"
#include "frmPayroll.h"
#include "frmStaff.h"
#include "modOption.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

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
    QObject::connect(mainWindow, &frmMDIForm::calendarRequested, mainWindow,
                     [] { showCalendarScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::payrollRequested, mainWindow,
                     [] { showPayrollScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::dataOutRequested, mainWindow,
                     [mainWindow] { DataOut(mainWindow); });
    QObject::connect(mainWindow, &frmMDIForm::dataInRequested, mainWindow,
                     [mainWindow] { DataIn(mainWindow); });
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    setProgramIdentity();
    installJapaneseTranslation();
    installFontSubstitutes();
    const ProgramFolders& folders = programFolders();

    // One running copy per database; its lock stands beside the database file.
    const QString dataFolder = QFileInfo(folders.databasePath()).path();
    QDir().mkpath(dataFolder);
    SingleInstance instance(dataFolder);
    switch (instance.claim()) {
    case SingleInstance::Claim::Taken:
        break;
    case SingleInstance::Claim::HeldByOther:
        return 0;
    case SingleInstance::Claim::Unwritable:
        ShowMsg(kMsgError,
                QStringLiteral("データフォルダ %1 に書き込めないため起動できません。"
                               "フォルダがあり、書き込みの権限があるか確認してください。")
                    .arg(QDir::toNativeSeparators(dataFolder)));
        return 1;
    }

    recoverInterruptedRestore(folders.databasePath());
    if (!Main(folders))
        return 1;
    frmMDIForm* mainWindow = gMDIForm.data();
    connectScreens(mainWindow);
    QObject::connect(&instance, &SingleInstance::comeForwardAsked, mainWindow,
                     &frmMDIForm::comeForward);
    return app.exec();
}
