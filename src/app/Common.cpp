#include "Common.h"

#include "Database.h"
#include "MainWindow.h"
#include "Messages.h"
#include "Odbc.h"
#include "ProgramFolders.h"
#include "Schema.h"
#include "ServerSettings.h"
#include "Splash.h"
#include "StoreError.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>

std::unique_ptr<Database> gDb;

// Silent unless asked for (QT_LOGGING_RULES="nubira.startup.info=true"): the package check reads
// from it that the main window was reached.
Q_LOGGING_CATEGORY(lcStartup, "nubira.startup", QtWarningMsg)

Database& openDb()
{
    if (!gDb || !gDb->isOpen())
        throw StoreError(QStringLiteral("データベースが開かれていません。"));
    return *gDb;
}

bool DbOpen(const QString& path)
{
    try {
        gDb = openDatabase(path);
        return true;
    } catch (const StoreError&) {
        gDb.reset();
        showOpenFailure();
        return false;
    }
}

bool DbOpen(const ServerConnection& server)
{
    if (const QString refusal = connectionRefusal(server); !refusal.isEmpty()) {
        showOpenFailure(refusal);
        return false;
    }
    try {
        gDb = openDatabase(server);
        return true;
    } catch (const StoreError& error) {
        gDb.reset();
        // A server fails for reasons the clerk can mend (a password, a name): they are told.
        showOpenFailure(error.message());
        return false;
    }
}

void showOpenFailure(const QString& reason)
{
    const QString failed = QStringLiteral("データベースのオープンに失敗しました。");
    ShowMsg(kMsgError, reason.isEmpty() ? failed : failed + u'\n' + reason);
}

bool DbClose()
{
    try {
        if (gDb)
            gDb->close();
        gDb.reset();
        return true;
    } catch (const StoreError&) {
        gDb.reset();
        ShowMsg(kMsgError, QStringLiteral("データベースのクローズに失敗しました。"));
        return false;
    }
}

bool Main(const ProgramFolders& folders, const ServerConnection& server)
{
    auto splash = std::make_unique<frmSplash>();
    try {
        splash->showOnScreen();

        const QString database = folders.databasePath();
        // An installed program starts its user's data with an empty database, without a word.
        if (!server.isSet() && folders.installed && !QFileInfo::exists(database)) {
            try {
                createDatabase(database);
            } catch (const StoreError& error) {
                ShowMsg(kMsgError,
                        QStringLiteral("データベースを作成できないため起動できません。\n%1")
                            .arg(error.message()));
                return false;
            }
        }
        if (!(server.isSet() ? DbOpen(server) : DbOpen(database))) {
            ShowMsg(kMsgError,
                    QStringLiteral("データベースの接続に失敗しました。起動できません。"));
            return false;
        }
        try {
            verifyWritable(*gDb);
        } catch (const StoreError& error) {
            // Said now, not at the clerk's first save: the program can show the data but keep
            // nothing typed.
            const QString where = server.isSet() ? QStringLiteral("サーバーのデータベース")
                                                 : QStringLiteral("データベースファイル");
            ShowMsg(kMsgError, QStringLiteral("%1に書き込めません。このままでは"
                                              "入力した内容を保存できません。\n%2")
                                   .arg(where, error.message()));
        }
        if (!registerProgramDataSource(*gDb)) {
            // Only other programs read through the data source: the clerk works on without it.
            ShowMsg(kMsgInformation,
                    QStringLiteral("ODBCの設定に失敗しました。\nODBC の設定ファイル %1 に書き込めま"
                                   "せん。ほかのプログラムはデータソース「HOJ」からデータを読めま"
                                   "せんが、ヌビラはこのまま使えます。")
                        .arg(userDataSourceFile()));
        }
        splash->stayFor(500);
        splash.reset();

        auto* mainWindow = new frmMDIForm(folders.helpPath());
        mainWindow->show();
        qCInfo(lcStartup, "main window shown, database %s", qUtf8Printable(gDb->location()));
        return true;
    } catch (const std::exception&) {
        ShowMsg(kMsgError, QStringLiteral("エラーが生じました。起動できません。"));
        DbClose();
        return false;
    }
}
