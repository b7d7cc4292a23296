#include "BackupFiles.h"
#include "Common.h"
#include "MainWindow.h"
#include "Messages.h"
#include "ProgramFolders.h"
#include "ProgramSetup.h"
#include "ServerSettings.h"
#include "SingleInstance.h"
#include "WholeFile.h"
#include "frmCalendar.h"
#include "frmConnection.h"
#include "frmHoutei.h"
#include "frmInsatu.h"
#include "frmJyouken.h"
#include "frmKyotei.h"
#include "frmPayroll.h"
#include "frmStaff.h"
#include "frmYukyu.h"
#include "frmYukyu5.h"
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
    QObject::connect(mainWindow, &frmMDIForm::leaveLedgerRequested, mainWindow,
                     [] { showLeaveLedgerScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::fiveDayRequested, mainWindow,
                     [] { showFiveDayScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::legalSettingsRequested, mainWindow,
                     [] { showLegalSettingsScreen(); });
    QObject::connect(mainWindow, &frmMDIForm::agreementMonitorRequested, mainWindow,
                     [] { showAgreementMonitor(); });
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

    // One running copy per database file; its lock stands beside the file. Clerks share a
    // server by design: no lock then.
    std::unique_ptr<SingleInstance> instance;
    removeAbandonedWorkFolders(QFileInfo(folders.databasePath()).path());
    for (;;) {
        const ServerConnection server = loadServerConnection();
        if (!server.isSet() && !instance) {
            const QString dataFolder = QFileInfo(folders.databasePath()).path();
            makePrivateFolder(dataFolder);
            instance = std::make_unique<SingleInstance>(dataFolder);
            switch (instance->claim()) {
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
        }
        if (Main(folders, server))
            break;
        // Without the main window the settings are out of reach: they are offered here.
        if (!server.isSet() ||
            ShowMsg(kMsgQuestion, QStringLiteral("接続先設定を変更して、もう一度起動しますか？")) !=
                kMsgYes ||
            !editConnectionSettings(nullptr))
            return 1;
    }
    frmMDIForm* mainWindow = gMDIForm.data();
    connectScreens(mainWindow);
    if (instance)
        QObject::connect(instance.get(), &SingleInstance::comeForwardAsked, mainWindow,
                         &frmMDIForm::comeForward);
    return app.exec();
}
