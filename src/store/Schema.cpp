#include "Schema.h"

#include "Database.h"
#include "StoreError.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <map>
#include <span>
#include <vector>

namespace {

// Dates are ISO text "yyyy-mm-dd", hours REAL, empty clock times empty text. The keys keep a
// staff member's month together on disk, so a month loads and saves with a few page reads.
const char* const kVersion1[] = {
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

// The office's own days off (an ISO date and a short name), and the settings of the office's
// calendar, one row a setting.
const char* const kVersion2[] = {
    R"(CREATE TABLE CMKAISYAKYUJITUMST (
        kyujituDt TEXT NOT NULL PRIMARY KEY,
        kyujituNm TEXT NOT NULL DEFAULT ''
    ) WITHOUT ROWID)",
    R"(CREATE TABLE CMSETTEIMST (
        setteiCd TEXT NOT NULL PRIMARY KEY,
        setteiVal TEXT NOT NULL DEFAULT ''
    ) WITHOUT ROWID)",
};

// Month end: the months closed for payroll, and the history of every change to a month, kept for
// ever (a deleted member's rows are marked, not removed).
const char* const kVersion3[] = {
    R"(CREATE TABLE KYSIMEKANRI (
        staffCd TEXT NOT NULL,
        syoriDt TEXT NOT NULL,
        simeDt TEXT NOT NULL,
        simeUser TEXT NOT NULL DEFAULT '',
        PRIMARY KEY (staffCd, syoriDt)
    ) WITHOUT ROWID)",
    R"(CREATE TABLE KYHENKOURIREKI (
        rirekiNo INTEGER PRIMARY KEY,
        henkouDt TEXT NOT NULL,
        userNm TEXT NOT NULL DEFAULT '',
        staffCd TEXT NOT NULL,
        syoriDt TEXT NOT NULL,
        sousa TEXT NOT NULL,
        naiyou TEXT NOT NULL DEFAULT '',
        sakujoFlg INTEGER NOT NULL DEFAULT 0
    ))",
    R"(CREATE INDEX KYHENKOURIREKI_month ON KYHENKOURIREKI (staffCd, syoriDt, rirekiNo))",
};

// Several clerks at once: every change to a member's month raises the month's revision, and a
// change made from a month as loaded at an older revision is refused. The row outlives the month
// (a deleted month keeps counting), so that a revision is never given twice.
const char* const kVersion4[] = {
    R"(CREATE TABLE KYKAITEIKANRI (
        staffCd TEXT NOT NULL,
        syoriDt TEXT NOT NULL,
        kaiteiNo INTEGER NOT NULL DEFAULT 0,
        PRIMARY KEY (staffCd, syoriDt)
    ) WITHOUT ROWID)",
};

// What a second clerk must not overwrite unseen besides a month: a member's record and the
// office's calendar, each with its revision. And the allowance a month's totals were made under,
// kept with them so that a later change of the office's calendar leaves the month as it was.
const char* const kVersion5[] = {
    R"(CREATE TABLE CMKAITEIKANRI (
        kanriKb TEXT NOT NULL,
        kanriCd TEXT NOT NULL,
        kaiteiNo INTEGER NOT NULL DEFAULT 0,
        PRIMARY KEY (kanriKb, kanriCd)
    ) WITHOUT ROWID)",
    R"(ALTER TABLE KYKINTAISYUKEIJL ADD COLUMN kihon40 REAL)",
};

// Paid leave: each member's working conditions (hire and leaving dates, the scheduled days and
// hours), and the grants the clerk entered or decided: an opening balance carried in from before
// the months on file ('K'), and the clerk's word on a grant whose period before is not wholly on
// file, granted ('F') or not ('N'). Grants the months on file decide are not stored.
const char* const kVersion6[] = {
    R"(CREATE TABLE CMSTAFFJOUKENMST (
        staffCd TEXT NOT NULL PRIMARY KEY,
        nyusyaDt TEXT NOT NULL DEFAULT '',
        taisyokuDt TEXT NOT NULL DEFAULT '',
        syuNissu INTEGER NOT NULL DEFAULT 5,
        syuJikan REAL NOT NULL DEFAULT 40,
        hiJikan REAL NOT NULL DEFAULT 8
    ) WITHOUT ROWID)",
    R"(CREATE TABLE KYYUKYUFUYOJL (
        staffCd TEXT NOT NULL,
        fuyoDt TEXT NOT NULL,
        fuyoKb TEXT NOT NULL,
        fuyoNissu REAL NOT NULL DEFAULT 0,
        zanNissu REAL NOT NULL DEFAULT 0,
        PRIMARY KEY (staffCd, fuyoDt)
    ) WITHOUT ROWID)",
};

// The law's hours: each month's figures as they were saved with it, and the settings they were
// made under, so that a year of them is read without making them again; and the payroll file's
// layouts, which can carry them.
const char* const kVersion7[] = {
    R"(CREATE TABLE KYHOUTEIJL (
        staffCd TEXT NOT NULL,
        syoriDt TEXT NOT NULL,
        kinmu INTEGER NOT NULL DEFAULT 0,
        hounai INTEGER NOT NULL DEFAULT 0,
        hougai INTEGER NOT NULL DEFAULT 0,
        hougai60 INTEGER NOT NULL DEFAULT 0,
        kyujitu INTEGER NOT NULL DEFAULT 0,
        sinya INTEGER NOT NULL DEFAULT 0,
        keisanKey TEXT NOT NULL DEFAULT '',
        PRIMARY KEY (staffCd, syoriDt)
    ) WITHOUT ROWID)",
    // The payroll file's named layouts: the columns, their order and headers, and the unit.
    R"(CREATE TABLE CMKYUYOLAYOUT (
        layoutNm TEXT NOT NULL PRIMARY KEY,
        layoutVal TEXT NOT NULL DEFAULT ''
    ) WITHOUT ROWID)",
};

// The schema grows by versions: each version's statements bring a file of the version before it
// up to it, and a new file runs them all. Files made before the schema carried a number read
// user_version 0 and hold version 1's objects. The statements of a version are never edited once
// files of it exist, not even their blanks: the check compares them as the engine keeps them.
struct SchemaStep {
    std::span<const char* const> statements;
};

// Version n is kSteps[n - 1].
const SchemaStep kSteps[] = {
    {kVersion1}, {kVersion2}, {kVersion3}, {kVersion4}, {kVersion5}, {kVersion6}, {kVersion7},
};

constexpr int kCurrentVersion = int(std::size(kSteps));

// Brings the schema from one version up to another inside the caller's unit of work.
void runSteps(Database& db, int from, int to)
{
    const SqlDialect& dialect = db.dialect();
    if (from == 0)
        dialect.prepareSchemaVersion(db);
    for (int version = from + 1; version <= to; ++version) {
        for (const char* statement : kSteps[version - 1].statements)
            db.execute(dialect.schemaStatement(QString::fromUtf8(statement)));
    }
    dialect.setSchemaVersion(db, to);
}

// The catalogue that each version's database holds on each engine, as the engines themselves
// write it: every version is built once in memory, and the server's is read off the same build.
// Index 0 is version 0: nothing.
const std::vector<CatalogueEntry>& expectedCatalogue(Engine engine, int version)
{
    using Catalogues = std::vector<std::vector<CatalogueEntry>>;
    static const std::map<Engine, Catalogues> byEngine = [] {
        std::map<Engine, Catalogues> all{{Engine::SQLite, {{}}}, {Engine::PostgreSQL, {{}}}};
        Database memory{QLatin1String(Database::kInMemory)};
        for (int version = 1; version <= kCurrentVersion; ++version) {
            runSteps(memory, version - 1, version);
            for (auto& [engine, catalogues] : all)
                catalogues.push_back(SqlDialect(engine).expectedCatalogue(memory));
        }
        return all;
    }();
    return byEngine.at(engine).at(size_t(version));
}

// The version of the schema that a database recording that version holds: an unnumbered file
// holds version 1; an empty server database holds nothing yet.
int heldVersion(const Database& db, int recorded)
{
    return db.engine() == Engine::SQLite ? std::max(recorded, 1) : recorded;
}

} // namespace

void createDatabase(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        throw StoreError(QStringLiteral("ファイルが既にあります: %1").arg(path));
    if (!makePrivateFolder(info.absolutePath()))
        throw StoreError(QStringLiteral("フォルダを作成できません: %1").arg(info.absolutePath()));

    // Build under a temporary name so that a failure never leaves a half-made file behind.
    const QString partial = path + QStringLiteral(".new");
    QFile::remove(partial);
    {
        // Staff names and hours: the owner's alone, as are the journals the engine makes beside.
        QFile file(partial);
        if (!file.open(QIODevice::WriteOnly) ||
            !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner))
            throw StoreError(QStringLiteral("ファイルを作成できません: %1").arg(partial));
    }
    try {
        Database db(partial);
        Transaction transaction(db);
        runSteps(db, 0, kCurrentVersion);
        transaction.commit();
    } catch (const StoreError&) {
        QFile::remove(partial);
        throw;
    }
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw StoreError(QStringLiteral("ファイルを作成できません: %1").arg(path));
    }
}

int currentSchemaVersion()
{
    return kCurrentVersion;
}

void verifySchema(Database& db)
{
    const int version = db.dialect().schemaVersion(db);
    if (version < 0 || version > kCurrentVersion)
        throw StoreError(
            QStringLiteral("このデータベースは新しい版のヌビラで作成されています（版 %1）。")
                .arg(version));
    // Anything beside the program's own objects (a trigger, a view for a table, a rewritten
    // query or index) would run inside the program's saves and reads: refused as a whole.
    if (db.dialect().catalogue(db) != expectedCatalogue(db.engine(), heldVersion(db, version)))
        throw StoreError(
            QStringLiteral("ヌビラのデータベースではありません（構成が異なります）。"));
}

void upgradeSchema(Database& db)
{
    const SqlDialect& dialect = db.dialect();
    if (dialect.schemaVersion(db) == kCurrentVersion)
        return;
    int from = 0;
    try {
        Transaction upgrade(db);
        // Another clerk's start-up may have brought the server up to date meanwhile.
        dialect.lockSchema(db);
        const int stored = dialect.schemaVersion(db);
        from = heldVersion(db, stored);
        if (stored == kCurrentVersion)
            return;
        runSteps(db, from, kCurrentVersion);
        if (db.engine() == Engine::SQLite)
            verifyRows(db); // made by another writer, perhaps: read before it is kept
        upgrade.commit();
    } catch (const StoreError&) {
        // An unnumbered file of the current objects lacks only its number: when it cannot be
        // written (a read-only file), it is still read as it is.
        if (from != kCurrentVersion)
            throw;
    }
}

void verifyIntegrity(Database& db)
{
    // The full check: besides the pages, every index must agree with its table.
    Rows rows = db.query(QStringLiteral("PRAGMA integrity_check"));
    const QString verdict = rows.next() ? rows.value(0).toString() : QString();
    if (verdict != QLatin1String("ok"))
        throw StoreError(QStringLiteral("データベースが壊れています: %1").arg(verdict));
    verifyFileLength(db.path());
}

namespace {

// How a column's value is written by the program, as an SQLite condition that holds for a value
// the program never writes; %1 is the column. SQLite keeps any value in any column.
enum class Written {
    Code,
    CodeOrNone,
    Month,
    MonthOrNone,
    Date,
    DateOrNone,
    Moment,
    Number,
    NumberOrNull,
    Count,
    Clock,
    DayClass,
    Text,
    TextOrNull,
    RevisionKind,
    WeekDays,
    GrantKind
};

QString neverWritten(Written kind)
{
    QString text = QStringLiteral("typeof(%1) <> 'text'");
    // Four characters, none a control character.
    const QString code = QStringLiteral("length(%1) <> 4 OR %1 GLOB '*[' || char(1) || '-' || "
                                        "char(31) || char(127) || ']*'");
    const QString month =
        QStringLiteral("%1 NOT GLOB '[0-9][0-9][0-9][0-9][0-9][0-9]' OR "
                       "date(substr(%1, 1, 4) || '-' || substr(%1, 5, 2) || '-01') IS NULL");
    switch (kind) {
    case Written::Code:
        return text + QStringLiteral(" OR ") + code;
    case Written::CodeOrNone:
        return text + QStringLiteral(" OR (%1 <> '' AND (") + code + QStringLiteral("))");
    case Written::Month:
        return text + QStringLiteral(" OR ") + month;
    case Written::MonthOrNone:
        return text + QStringLiteral(" OR (%1 <> '' AND (") + month + QStringLiteral("))");
    case Written::Date:
        return text + QStringLiteral(" OR date(julianday(%1)) IS NOT %1"); // 02-30 is no day
    case Written::DateOrNone:
        return text + QStringLiteral(" OR (%1 <> '' AND date(julianday(%1)) IS NOT %1)");
    case Written::Moment:
        return text + QStringLiteral(" OR datetime(%1) IS NULL");
    case Written::Number:
        return QStringLiteral("typeof(%1) NOT IN ('integer', 'real')");
    case Written::NumberOrNull:
        return QStringLiteral("typeof(%1) NOT IN ('integer', 'real', 'null')");
    case Written::Count:
        return QStringLiteral("typeof(%1) <> 'integer'");
    case Written::Clock:
        return text + QStringLiteral(" OR (%1 <> '' AND %1 NOT GLOB '[0-9][0-9][0-9][0-9]')");
    case Written::DayClass: // read by its leading number, as the screens read it
        return text + QStringLiteral(" OR CAST(%1 AS INTEGER) NOT BETWEEN 0 AND 8");
    case Written::Text:
        return text;
    case Written::TextOrNull:
        return QStringLiteral("typeof(%1) NOT IN ('text', 'null')");
    case Written::RevisionKind:
        return text + QStringLiteral(" OR %1 NOT IN ('staff', 'calendar')");
    case Written::WeekDays:
        return QStringLiteral("typeof(%1) <> 'integer' OR %1 NOT BETWEEN 1 AND 7");
    case Written::GrantKind:
        return text + QStringLiteral(" OR %1 NOT IN ('K', 'F', 'N')");
    }
    return {};
}

struct WrittenColumn {
    const char* name;
    Written kind;
};

struct WrittenTable {
    const char* name;
    std::vector<WrittenColumn> columns;
};

const std::vector<WrittenTable>& writtenTables()
{
    using enum Written;
    static const std::vector<WrittenTable> tables{
        {"CMSTAFFKIHONMST", {{"staffCd", Code}, {"staffNm", TextOrNull}, {"staffKm", TextOrNull}}},
        {"KYKINTAISYUKEIJL",
         {{"staffCd", Code},
          {"syoriDt", Month},
          {"kikanSt", Date},
          {"kikanEn", Date},
          {"kihon1", Number},
          {"kihon2", Number},
          {"kihon3", Number},
          {"kihon4", Number},
          {"kihon40", NumberOrNull}}},
        {"KYTIMESHEETJL",
         {{"syoriDt", Month},
          {"staffCd", Code},
          {"kintaiDt", Date},
          {"syukinKb", DayClass},
          {"syukin", Clock},
          {"taisya", Clock},
          {"kihon1", Number},
          {"kihon2", Number},
          {"kihon3", Number},
          {"kihon4", Number}}},
        {"CMKAISYAKYUJITUMST", {{"kyujituDt", Date}, {"kyujituNm", Text}}},
        {"CMSETTEIMST", {{"setteiCd", Text}, {"setteiVal", Text}}},
        {"KYSIMEKANRI",
         {{"staffCd", Code}, {"syoriDt", Month}, {"simeDt", Moment}, {"simeUser", Text}}},
        {"KYHENKOURIREKI",
         {{"henkouDt", Moment},
          {"userNm", Text},
          {"staffCd", CodeOrNone},
          {"syoriDt", MonthOrNone},
          {"sousa", Text},
          {"naiyou", Text},
          {"sakujoFlg", Count}}},
        {"KYKAITEIKANRI", {{"staffCd", Code}, {"syoriDt", Month}, {"kaiteiNo", Count}}},
        {"CMKAITEIKANRI", {{"kanriKb", RevisionKind}, {"kanriCd", Text}, {"kaiteiNo", Count}}},
        {"CMSTAFFJOUKENMST",
         {{"staffCd", Code},
          {"nyusyaDt", DateOrNone},
          {"taisyokuDt", DateOrNone},
          {"syuNissu", WeekDays},
          {"syuJikan", Number},
          {"hiJikan", Number}}},
        {"CMKYUYOLAYOUT", {{"layoutNm", Text}, {"layoutVal", Text}}},
        {"KYHOUTEIJL",
         {{"staffCd", Code},
          {"syoriDt", Month},
          {"kinmu", Count},
          {"hounai", Count},
          {"hougai", Count},
          {"hougai60", Count},
          {"kyujitu", Count},
          {"sinya", Count},
          {"keisanKey", Text}}},
        {"KYYUKYUFUYOJL",
         {{"staffCd", Code},
          {"fuyoDt", Date},
          {"fuyoKb", GrantKind},
          {"fuyoNissu", Number},
          {"zanNissu", Number}}},
    };
    return tables;
}

} // namespace

void verifyRows(Database& db)
{
    for (const WrittenTable& table : writtenTables()) {
        // One pass over the table: the first bad value, and the column it is in.
        QStringList bad, which, value;
        for (const WrittenColumn& column : table.columns) {
            const QString name = QLatin1String(column.name);
            const QString condition = u'(' + neverWritten(column.kind).arg(name) + u')';
            bad << condition;
            which << QStringLiteral("WHEN %1 THEN '%2'").arg(condition, name);
            value << QStringLiteral("WHEN %1 THEN substr(quote(%2), 1, 40)").arg(condition, name);
        }
        Rows rows = db.query(QStringLiteral("SELECT CASE %1 END, CASE %2 END FROM %3 WHERE %4 "
                                            "LIMIT 1")
                                 .arg(which.join(u' '), value.join(u' '), QLatin1String(table.name),
                                      bad.join(QStringLiteral(" OR "))));
        if (rows.next())
            throw StoreError(QStringLiteral("表 %1 の列 %2 に、ヌビラが書き込まない値 %3 があり"
                                            "ます。")
                                 .arg(QLatin1String(table.name), rows.value(0).toString(),
                                      rows.value(1).toString()));
    }
}

void verifyFileLength(const QString& path)
{
    // The header: its magic text, the page size at 16 (1 for 65536) and, when the count at 92
    // matches the change counter at 24, the page count at 28. Big-endian.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(QStringLiteral("ファイルを読めません: %1").arg(file.errorString()));
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        throw StoreError(QStringLiteral("SQLite のデータベースファイルではありません。"));
    const auto number = [&header](int at, int bytes) {
        quint64 n = 0;
        for (int i = 0; i < bytes; ++i)
            n = n << 8 | quint8(header[at + i]);
        return n;
    };
    const quint64 pageSize = number(16, 2) == 1 ? 65536 : number(16, 2);
    if (number(92, 4) != number(24, 4))
        return; // an old writer's header: the count is not kept, the engine's check reads it
    if (quint64(file.size()) != pageSize * number(28, 4))
        throw StoreError(QStringLiteral("ファイルの大きさ（%1 バイト）が、データベースの大きさ"
                                        "（%2 ページ × %3 バイト）と合いません。")
                             .arg(file.size())
                             .arg(number(28, 4))
                             .arg(pageSize));
}

void verifyWritable(Database& db)
{
    // Writing the version back as it is needs the file and its journal; the unit rolls back.
    Transaction probe(db);
    db.dialect().setSchemaVersion(db, db.dialect().schemaVersion(db));
}

std::unique_ptr<Database> openDatabase(const QString& path)
{
    auto db = std::make_unique<Database>(path);
    verifySchema(*db);
    upgradeSchema(*db);
    // Programs reading through the data source then hold no lock that a save waits for. A file
    // that cannot be written keeps its journal.
    try {
        db->query(QStringLiteral("PRAGMA journal_mode = WAL")).next();
    } catch (const StoreError&) {
    }
    return db;
}

void checkpointWholeFile(Database& db)
{
    Rows result = db.query(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    if (result.next() && result.value(0).toInt() != 0)
        throw StoreError(QStringLiteral("ほかのプログラムがデータソース「HOJ」などからデータを"
                                        "読んでいます。そのプログラムを終えてから、もう一度"
                                        "実行してください。"));
}

std::unique_ptr<Database> openDatabase(const ServerConnection& server)
{
    auto db = std::make_unique<Database>(server);
    try {
        verifySchema(*db);
    } catch (const StoreError& error) {
        throw StoreError(
            QStringLiteral(
                "サーバー %1 のデータベース %2 は、ヌビラのデータベースとして使えません。\n%3")
                .arg(server.caption(), server.database, error.message()));
    }
    upgradeSchema(*db);
    return db;
}

ServerState serverState(Database& db)
{
    const int version = db.dialect().schemaVersion(db);
    verifySchema(db);
    if (version == 0)
        return ServerState::Empty;
    return version < kCurrentVersion ? ServerState::Older : ServerState::Current;
}

std::vector<ProgramTable> programTables()
{
    static const std::vector<ProgramTable> tables = [] {
        Database memory{QLatin1String(Database::kInMemory)};
        runSteps(memory, 0, kCurrentVersion);
        std::vector<ProgramTable> all;
        Rows rows = memory.query(QStringLiteral(
            "SELECT m.name, p.name FROM sqlite_master AS m JOIN pragma_table_info(m.name) AS p "
            "WHERE m.type = 'table' ORDER BY m.name, p.cid"));
        while (rows.next()) {
            if (all.empty() || all.back().name != rows.text(0))
                all.push_back({rows.text(0), {}});
            all.back().columns.append(rows.text(1));
        }
        return all;
    }();
    return tables;
}
