#include "Schema.h"

#include "Database.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

namespace {

// Dates are ISO text "yyyy-mm-dd", hours REAL, empty clock times empty text. The keys keep a
// staff member's month together on disk, so a month loads and saves with a few page reads.
const char* const kSchema[] = {
    R"(CREATE TABLE CMSTAFFKIHONMST (
        staffCd TEXT NOT NULL PRIMARY KEY,
        staffNm TEXT,
        staffKm TEXT
    ))",
    R"(CREATE TABLE KYKINTAISYUKEIJL (
        staffCd TEXT NOT NULL,
        syoriDt TEXT NOT NULL,
        kikanSt TEXT NOT NULL,
        kikanEn TEXT NOT NULL,
        kihon1 REAL NOT NULL DEFAULT 0,
        kihon2 REAL NOT NULL DEFAULT 0,
        kihon3 REAL NOT NULL DEFAULT 0,
        kihon4 REAL NOT NULL DEFAULT 0,
        PRIMARY KEY (staffCd, syoriDt)
    ) WITHOUT ROWID)",
    R"(CREATE TABLE KYTIMESHEETJL (
        syoriDt TEXT NOT NULL,
        staffCd TEXT NOT NULL,
        kintaiDt TEXT NOT NULL,
        syukinKb TEXT NOT NULL DEFAULT '',
        syukin TEXT NOT NULL DEFAULT '',
        taisya TEXT NOT NULL DEFAULT '',
        kihon1 REAL NOT NULL DEFAULT 0,
        kihon2 REAL NOT NULL DEFAULT 0,
        kihon3 REAL NOT NULL DEFAULT 0,
        kihon4 REAL NOT NULL DEFAULT 0,
        PRIMARY KEY (staffCd, syoriDt, kintaiDt)
    ) WITHOUT ROWID)",
    // Printing reads one month for a range of staff.
    R"(CREATE INDEX KYTIMESHEETJL_syoriDt ON KYTIMESHEETJL (syoriDt, staffCd))",
    // One row per timesheet row, whatever else is on file: the attendance sheet counts the
    // timesheet rows and reads this query, and the two must agree.
    R"(CREATE VIEW Q_CMSTAFFKIHONMST AS
        SELECT t.staffCd AS staffCd,
               t.syoriDt AS syoriDt,
               t.kintaiDt AS kintaiDt,
               t.syukinKb AS syukinKb,
               t.syukin AS syukin,
               t.taisya AS taisya,
               t.kihon1 AS kihon1,
               t.kihon2 AS kihon2,
               t.kihon3 AS kihon3,
               t.kihon4 AS kihon4,
               m.staffNm AS staffNm,
               s.kikanSt AS kikanSt,
               s.kikanEn AS kikanEn,
               s.kihon1 AS kihon1_g,
               s.kihon2 AS kihon2_g,
               s.kihon3 AS kihon3_g,
               s.kihon4 AS kihon4_g
        FROM KYTIMESHEETJL AS t
        LEFT JOIN CMSTAFFKIHONMST AS m ON m.staffCd = t.staffCd
        LEFT JOIN KYKINTAISYUKEIJL AS s ON s.staffCd = t.staffCd AND s.syoriDt = t.syoriDt)",
};

struct Relation {
    const char* name;
    const char* fields;
};

const Relation kRelations[] = {
    {"CMSTAFFKIHONMST", "staffCd, staffNm, staffKm"},
    {"KYKINTAISYUKEIJL", "staffCd, syoriDt, kikanSt, kikanEn, kihon1, kihon2, kihon3, kihon4"},
    {"KYTIMESHEETJL",
     "syoriDt, staffCd, kintaiDt, syukinKb, syukin, taisya, kihon1, kihon2, kihon3, kihon4"},
    {"Q_CMSTAFFKIHONMST", "staffCd, syoriDt, kintaiDt, syukinKb, syukin, taisya, kihon1, kihon2, "
                          "kihon3, kihon4, staffNm, kikanSt, kikanEn, kihon1_g, kihon2_g, "
                          "kihon3_g, kihon4_g"},
};

} // namespace

bool CreateDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return false;
    if (!QDir().mkpath(info.absolutePath()))
        throw StoreError(QStringLiteral("フォルダを作成できません: %1").arg(info.absolutePath()));

    // Build under a temporary name so that a failure never leaves a half-made file behind.
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    {
        QFile file(partial);
        if (!file.open(QIODevice::WriteOnly))
            throw StoreError(QStringLiteral("ファイルを作成できません: %1").arg(partial));
    }
    try {
        Database db(partial);
        Transaction transaction(db);
        for (const char* statement : kSchema)
            db.execute(QString::fromUtf8(statement));
        transaction.commit();
    } catch (const StoreError&) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw StoreError(QStringLiteral("ファイルを作成できません: %1").arg(path));
    }
    return true;
}

void VerifySchema(Database& db)
{
    for (const Relation& relation : kRelations) {
        try {
            // Preparing a read of every field fails on a missing table or field.
            Rows rows =
                db.query(QStringLiteral("SELECT %1 FROM %2 LIMIT 0")
                             .arg(QLatin1String(relation.fields), QLatin1String(relation.name)));
            rows.next();
        } catch (const StoreError& error) {
            throw StoreError(QStringLiteral("ヌビラのデータベースではありません（%1）: %2")
                                 .arg(QLatin1String(relation.name), error.message()));
        }
    }
}

void VerifyIntegrity(Database& db)
{
    Rows rows = db.query(QStringLiteral("PRAGMA quick_check"));
    const QString verdict = rows.next() ? rows.value(0).toString() : QString();
    if (verdict != QLatin1String("ok"))
        throw StoreError(QStringLiteral("データベースが壊れています: %1").arg(verdict));
}

void VerifyWritable(Database& db)
{
    // Writing the version back as it is needs the file and its journal; the unit rolls back.
    Transaction probe(db);
    Rows rows = db.query(QStringLiteral("PRAGMA user_version"));
    const int version = rows.next() ? rows.value(0).toInt() : 0;
    db.execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

std::unique_ptr<Database> OpenDatabase(const QString& path)
{
    auto db = std::make_unique<Database>(path);
    VerifySchema(*db);
    return db;
}
