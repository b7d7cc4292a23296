#include "DatabaseCopy.h"

#include "Database.h"
#include "Schema.h"
#include "StoreError.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <set>

void copyAllRows(Database& from, Database& to)
{
    Snapshot reading(from);
    Transaction writing(to);
    for (const ProgramTable& table : programTables()) {
        const QString columns = table.columns.join(QStringLiteral(", "));
        QStringList marks;
        marks.fill(QStringLiteral("?"), table.columns.size());
        const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table.name, columns, marks.join(QStringLiteral(", ")));
        to.execute(QStringLiteral("DELETE FROM ") + table.name);
        Rows rows = from.query(QStringLiteral("SELECT %1 FROM %2").arg(columns, table.name));
        QVariantList values;
        while (rows.next()) {
            values.clear();
            for (int i = 0; i < table.columns.size(); ++i) {
                // A null stays null; the store's binding would make a null text empty.
                const QVariant value = rows.value(i);
                values.append(value.isNull() ? QVariant() : value);
            }
            to.execute(insert, values);
        }
    }
    to.dialect().afterCopy(to);
    writing.commit();
    reading.end();
}

void exportToFile(Database& from, const QString& path)
{
    if (from.engine() == Engine::SQLite) {
        // One whole file, the log's pages in it: a copy of the main file alone may lack them.
        try {
            from.execute(QStringLiteral("VACUUM INTO ?"), {path});
        } catch (const StoreError&) {
            QFile::remove(path);
            throw;
        }
        return;
    }
    createDatabase(path);
    try {
        const std::unique_ptr<Database> file = openDatabase(path);
        copyAllRows(from, *file);
    } catch (const StoreError&) {
        QFile::remove(path);
        throw;
    }
}

namespace {

// A history entry as it is recognised on both sides of a restore: everything but its number and
// the deleted-member mark, which a later delete sets.
QString entryKey(const HistoryEntry& e)
{
    return QStringList{
        e.henkouDt.toString(Qt::ISODate), e.userNm, e.staffCd, e.syoriDt, e.sousa, e.naiyou}
        .join(QChar(0x1f));
}

std::vector<HistoryEntry> wholeHistory(Database& db)
{
    std::vector<HistoryEntry> history;
    Rows rows = db.query(QStringLiteral("SELECT henkouDt, userNm, staffCd, syoriDt, sousa, naiyou, "
                                        "sakujoFlg FROM KYHENKOURIREKI ORDER BY rirekiNo"));
    while (rows.next()) {
        history.push_back({QDateTime::fromString(rows.text(0), Qt::ISODate), rows.text(1),
                           rows.text(2), rows.text(3), rows.text(4), rows.text(5),
                           rows.value(6).toInt() != 0});
    }
    return history;
}

// The entries of `history` that `restored` lacks, in their order: each entry there matches one
// here, so an entry made twice alike is carried as often as it is missing.
std::vector<HistoryEntry> missingHistory(const std::vector<HistoryEntry>& history,
                                         Database& restored)
{
    QHash<QString, int> present;
    for (const HistoryEntry& e : wholeHistory(restored))
        ++present[entryKey(e)];
    std::vector<HistoryEntry> missing;
    for (const HistoryEntry& e : history) {
        int& count = present[entryKey(e)];
        if (count > 0)
            --count;
        else
            missing.push_back(e);
    }
    return missing;
}

using Revisions = std::map<std::tuple<QString, QString, QString>, int>;

// Every revision a screen may hold: of each month with a revision, rows or a closing, of each
// member's record, and of the calendar (0 where none was given yet).
Revisions allRevisions(Database& db)
{
    Revisions revisions;
    const QString months = QStringLiteral("KYKAITEIKANRI");
    const QString others = QStringLiteral("CMKAITEIKANRI");
    revisions[{others, QStringLiteral("calendar"), QString()}] = 0;
    const auto collect = [&](const QString& table, const QString& sql) {
        Rows rows = db.query(sql);
        while (rows.next()) {
            int& revision = revisions[{table, rows.text(0), rows.text(1)}];
            revision = std::max(revision, rows.value(2).toInt());
        }
    };
    collect(months, QStringLiteral("SELECT staffCd, syoriDt, kaiteiNo FROM KYKAITEIKANRI"));
    for (const char* table : {"KYKINTAISYUKEIJL", "KYTIMESHEETJL", "KYSIMEKANRI"})
        collect(months, QStringLiteral("SELECT DISTINCT staffCd, syoriDt, 0 FROM %1")
                            .arg(QLatin1String(table)));
    collect(others, QStringLiteral("SELECT kanriKb, kanriCd, kaiteiNo FROM CMKAITEIKANRI"));
    collect(others, QStringLiteral("SELECT 'staff', staffCd, 0 FROM CMSTAFFKIHONMST"));
    return revisions;
}

} // namespace

RestoreImpact restoreImpact(Database& live, Database& restored)
{
    RestoreImpact impact;
    std::set<std::pair<QString, QString>> closedThere;
    {
        Rows rows = restored.query(QStringLiteral("SELECT staffCd, syoriDt FROM KYSIMEKANRI"));
        while (rows.next())
            closedThere.insert({rows.text(0), rows.text(1)});
    }
    Rows rows = live.query(QStringLiteral(
        "SELECT c.staffCd, m.staffNm, c.syoriDt FROM KYSIMEKANRI AS c "
        "LEFT JOIN CMSTAFFKIHONMST AS m ON m.staffCd = c.staffCd ORDER BY c.syoriDt, c.staffCd"));
    while (rows.next()) {
        if (!closedThere.contains({rows.text(0), rows.text(2)}))
            impact.reopened.push_back({rows.text(0), rows.text(1), rows.text(2)});
    }
    impact.newerHistory = int(missingHistory(wholeHistory(live), restored).size());
    return impact;
}

SurvivingState readSurvivingState(Database& live)
{
    Snapshot reading(live);
    SurvivingState state{wholeHistory(live), allRevisions(live)};
    reading.end();
    return state;
}

void carrySurvivingState(Database& restored, const SurvivingState& state,
                         const HistoryEntry& restore)
{
    Transaction carrying(restored);
    for (const HistoryEntry& e : missingHistory(state.history, restored))
        addHistory(restored, e);
    addHistory(restored, restore);
    Revisions revisions = allRevisions(restored);
    for (const auto& [key, revision] : state.revisions)
        revisions[key] = std::max(revisions[key], revision);
    for (const auto& [key, revision] : revisions) {
        const auto& [table, first, second] = key;
        const QString columns = table == QLatin1String("KYKAITEIKANRI")
                                    ? QStringLiteral("staffCd, syoriDt")
                                    : QStringLiteral("kanriKb, kanriCd");
        restored.execute(QStringLiteral("INSERT INTO %1 (%2, kaiteiNo) VALUES (?, ?, ?) "
                                        "ON CONFLICT (%2) DO UPDATE SET kaiteiNo = "
                                        "excluded.kaiteiNo")
                             .arg(table, columns),
                         {first, second, revision + 1});
    }
    carrying.commit();
}

void restoreRows(Database& from, Database& to, const HistoryEntry& restore)
{
    Transaction restoring(to);
    to.dialect().holdTablesForWriting(to);
    const SurvivingState state = readSurvivingState(to);
    copyAllRows(from, to);
    carrySurvivingState(to, state, restore);
    restoring.commit();
}
