#include "modOption.h"

#include "BackupFiles.h"
#include "Common.h"
#include "Database.h"
#include "DatabaseCopy.h"
#include "FileDialogs.h"
#include "MainWindow.h"
#include "Messages.h"
#include "MonthLog.h"
#include "ProgramFolders.h"
#include "ProgressWork.h"
#include "Records.h"
#include "Schema.h"
#include "StoreError.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QTemporaryDir>

#include <optional>

namespace {

const QString kFilter = QStringLiteral("timファイル(*.tim)");

QString runDialog(QWidget* owner, bool save, bool nameOnly, const QString& filter,
                  const QString& initialFolder, const QString& title)
{
    const QString path = askFileName(owner, {save, title, initialFolder, filter});
    return nameOnly && !path.isEmpty() ? QFileInfo(path).fileName() : path;
}

// The database of the program: the one open, else the one start-up opens.
QString liveDatabasePath()
{
    return gDb ? gDb->path() : programFolders().databasePath();
}

// The server's rows go to a backup, and come back from one, through an SQLite file of the same
// schema: the ".tim" format is the same for both homes.
bool isOnServer()
{
    return gDb && gDb->engine() == Engine::PostgreSQL;
}

// The data folder, where a backup or a restore works on its copies: the database file's, or on
// a server the one the program would keep its file in.
QString dataFolder()
{
    return QFileInfo(isOnServer() ? programFolders().databasePath() : liveDatabasePath()).path();
}

// The backup is written from a connection of its own, readers or not, then copied whole to the
// chosen name.
bool exportBackup(const QString& answer, QString& error)
{
    const QTemporaryDir folder(workFolderTemplate(dataFolder()));
    const QString file = folder.filePath(QStringLiteral("backup.tim"));
    try {
        runWithProgress([&file](Database& db) { exportToFile(db, file); });
    } catch (const StoreError& failure) {
        error = failure.message();
        return false;
    }
    return copyWhole(file, answer, &error);
}

// Why the server's rows could not be replaced, or empty text when they were.
QString restoreServer(const QString& candidate, const HistoryEntry& restore)
{
    try {
        runWithProgress([&](Database& db) {
            const std::unique_ptr<Database> file = openDatabase(candidate);
            restoreRows(*file, db, restore);
        });
        return {};
    } catch (const StoreError& error) {
        return error.message();
    }
}

// The history and the revisions of the live data go into the file to be restored, before it
// replaces the database.
bool carrySurvivingStateInto(const QString& candidate, const HistoryEntry& restore)
{
    const Database* live = gDb.get();
    try {
        runFileWorkWithProgress([&] {
            const SurvivingState state =
                live ? readSurvivingState(*live->openAnother()) : SurvivingState{};
            const std::unique_ptr<Database> file = openDatabase(candidate);
            carrySurvivingState(*file, state, restore);
        });
        return true;
    } catch (const StoreError&) {
        return false;
    }
}

// The months a restore reopens as a list: the first few by name, then how many more.
QString reopenedMonthsText(const RestoreImpact& impact)
{
    constexpr size_t kNamed = 3;
    QStringList named;
    for (size_t i = 0; i < std::min(kNamed, impact.reopened.size()); ++i) {
        const RestoreImpact::Month& m = impact.reopened[i];
        named << QStringLiteral("%1 %2 %3").arg(m.staffCd, m.staffNm, monthCaption(m.syoriDt));
    }
    QString text = named.join(QStringLiteral("、"));
    if (impact.reopened.size() > kNamed)
        text += QStringLiteral(" ほか%1件").arg(impact.reopened.size() - kNamed);
    return text;
}

// What restoring the chosen file undoes, asked of the clerk (No is the default) unless it undoes
// nothing; the text the history keeps of it, or none when the clerk keeps the data as it is.
std::optional<QString> confirmRestore(const QString& answer, const RestoreImpact& impact)
{
    QStringList undone;
    if (!impact.reopened.empty())
        undone << QStringLiteral("締め済みの月のうち、ファイルでは締められていない月：%1件（%2）")
                      .arg(impact.reopened.size())
                      .arg(reopenedMonthsText(impact));
    if (impact.newerHistory > 0)
        undone << QStringLiteral("ファイルより後に記録された変更：%1件（変更履歴は残ります）")
                      .arg(impact.newerHistory);
    if (isOnServer())
        undone << QStringLiteral("サーバーのデータは、すべての担当者の分が置き換わります。");
    if (!undone.isEmpty()) {
        const QString question =
            QStringLiteral("%1 から復元すると、今のデータのうち次のものが元に戻ります。\n・%2\n"
                           "復元しますか？")
                .arg(answer, undone.join(QStringLiteral("\n・")));
        if (ShowMsg(kMsgRiskyQuestion, question) != kMsgYes)
            return std::nullopt;
    }
    return (QStringList{QStringLiteral("ファイル %1 から復元").arg(answer)} + undone).join(u'\n');
}

// The working screens hold months read from the database; a restore replaces it under them.
// Each screen asks about its unsaved work first; false when one of them stays open.
bool closeWorkingScreens()
{
    if (!gMDIForm)
        return true;
    gMDIForm->mdiArea()->closeAllSubWindows();
    return gMDIForm->mdiArea()->subWindowList().isEmpty();
}

// Why a copy of the chosen file is not the program's own database, whole and holding what the
// program writes; empty text when it is. A file of an earlier version is brought up to the current
// one. The copy is what gets restored, so the checks are spent before the screens close, and a
// file that fails leaves them and the data as they are. The reason names the chosen file.
QString restoreRefusal(const QString& candidate, const QString& chosen)
{
    try {
        const std::unique_ptr<Database> db = openDatabase(candidate);
        verifyIntegrity(*db);
        verifyRows(*db);
        return {};
    } catch (const StoreError& error) {
        return error.message().replace(candidate, chosen);
    }
}

} // namespace

QString ShowSaveDialog(QWidget* owner, bool nameOnly, const QString& filter,
                       const QString& initialFolder, const QString& title)
{
    return runDialog(owner, true, nameOnly, filter, initialFolder, title);
}

QString ShowOpenDialog(QWidget* owner, bool nameOnly, const QString& filter,
                       const QString& initialFolder, const QString& title)
{
    return runDialog(owner, false, nameOnly, filter, initialFolder, title);
}

void DataOut(QWidget* owner)
{
    const QString answer = timFileName(
        ShowSaveDialog(owner, false, kFilter, {}, QStringLiteral("ファイル名を指定する")));
    if (answer == QLatin1String(".tim") || answer.isEmpty())
        return;
    QString error;
    const QFileInfo target(answer);
    // The database itself chosen as its own backup is left as it is.
    const bool isDatabaseItself =
        !isOnServer() && target.exists() &&
        target.canonicalFilePath() == QFileInfo(liveDatabasePath()).canonicalFilePath();
    const bool copied = !isDatabaseItself && exportBackup(answer, error);

    if (!copied) {
        ShowMsg(kMsgError, answer +
                               QStringLiteral("にバックアップファイルを作成できませんでした。"
                                              "保存先の空き容量と書き込みの権限を確認して"
                                              "ください。\n") +
                               error);
        return;
    }
    ShowMsg(kMsgInformation, answer + QStringLiteral("バックアップファイルを作成しました。 "));
}

void DataIn(QWidget* owner)
{
    const QString answer =
        ShowOpenDialog(owner, false, kFilter, {}, QStringLiteral("ファイルを選択する"));
    if (answer.isEmpty())
        return;
    const auto sayFailed = [](const QString& reason = {}) {
        const QString failed = QStringLiteral("復元に失敗しました。");
        ShowMsg(kMsgInformation, reason.isEmpty() ? failed : failed + u'\n' + reason);
    };

    const QTemporaryDir check(workFolderTemplate(dataFolder()));
    const QString candidate = check.filePath(QStringLiteral("candidate.mdb"));
    // The copy, its checks, and what restoring it undoes, read while the clerk watches the clock.
    bool copiedIn = false;
    QString refusal;
    RestoreImpact impact;
    // A database that could not be opened again is restored over as it is: nothing to undo.
    const Database* live = gDb.get();
    try {
        runFileWorkWithProgress([&] {
            try {
                verifyFileLength(answer); // before a long copy of what is no database
            } catch (const StoreError& error) {
                refusal = error.message();
                return;
            }
            copiedIn = check.isValid() && copyWhole(answer, candidate);
            if (copiedIn)
                refusal = restoreRefusal(candidate, answer);
            if (copiedIn && refusal.isEmpty() && live)
                impact = restoreImpact(*live->openAnother(), *openDatabase(candidate));
        });
    } catch (const StoreError& error) {
        ShowMsg(kMsgError, error.message());
        sayFailed();
        return;
    }
    if (!refusal.isEmpty()) {
        showOpenFailure(refusal);
        sayFailed();
        return;
    }
    if (!copiedIn) {
        sayFailed();
        return;
    }
    const std::optional<QString> undone = confirmRestore(answer, impact);
    if (!undone)
        return;
    if (!closeWorkingScreens())
        return; // the clerk stays with unsaved work; nothing is restored
    // Read after the screens closed, which may have saved their months.
    const HistoryEntry restore =
        stampedHistoryEntry(QString(), QString(), QStringLiteral("復元"), *undone);
    if (isOnServer()) {
        // One unit on the server: its rows are the old ones or the restored ones.
        if (const QString failure = restoreServer(candidate, restore); failure.isEmpty())
            ShowMsg(kMsgInformation, answer + QStringLiteral("ファイルを復元しました。 "));
        else
            sayFailed(failure);
        return;
    }
    if (!carrySurvivingStateInto(candidate, restore)) {
        sayFailed();
        return;
    }
    const QString database = liveDatabasePath();
    const QString backup = backupPath(database);
    // The file alone must be the whole database before it moves aside: a log left beside its name
    // would be read into the restored file.
    try {
        if (gDb)
            checkpointWholeFile(*gDb);
    } catch (const StoreError& error) {
        sayFailed(error.message());
        return;
    }
    // A step that fails ends the restore: the previous database goes back below.
    const bool leftoverAway = setAsideLeftoverBackup(database);
    DbClose();
    const bool movedAside = leftoverAway && QFile::rename(database, backup);
    bool copiedOver = false;
    if (movedAside)
        runFileWorkWithProgress([&] { copiedOver = copyWhole(candidate, database); });
    const bool restored = copiedOver && DbOpen(database);

    if (restored) {
        QFile::remove(backup);
        ShowMsg(kMsgInformation, answer + QStringLiteral("ファイルを復元しました。 "));
        return;
    }
    if (gDb)
        DbClose();
    if (movedAside) {
        QFile::remove(database);
        QFile::rename(backup, database);
    }
    DbOpen(database);
    sayFailed();
}
