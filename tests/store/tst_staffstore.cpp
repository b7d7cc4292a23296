#include "LeaveStore.h"
#include "MonthLog.h"
#include "Revisions.h"
#include "StaffStore.h"
#include "StoreError.h"
#include "TempDatabase.h"
#include "TestRows.h"
#include "TestServer.h"
#include "TimesheetStore.h"

#include <QTest>

Q_DECLARE_METATYPE(StaffField)

namespace {

const StaffRecord kStaff[] = {
    {"0001", "山田太郎", "ﾔﾏﾀﾞﾀﾛｳ"},
    {"0002", "O'Brien", "ｵﾌﾞﾗｲｴﾝ"},
    {"0003", "100%", "ﾋｬｸ"},
    {"0004", "a_b", "ｴｰﾋﾞｰ"},
    {"0005", "a*b", "ｱｽﾀ"},
    {"0010", "abc", "ｴｰﾋﾞｰｼｰ"},
    {"0011", "田中", ""},
};

MemberConditions defaultConditions(const QString& code)
{
    MemberConditions conditions;
    conditions.staffCd = code;
    return conditions;
}

QStringList codes(const std::vector<StaffRecord>& list)
{
    QStringList result;
    for (const StaffRecord& rec : list)
        result << rec.staffCd;
    return result;
}

} // namespace

class TestStaffStore : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_temp = std::make_unique<TempDatabase>();
        for (const StaffRecord& rec : kStaff)
            SaveStaff(m_temp->db(), rec);
        // A member whose reading was never filled in, as another program might have left it.
        m_temp->db().execute(
            QStringLiteral("INSERT INTO CMSTAFFKIHONMST VALUES ('0012', NULL, NULL)"));
    }

    void cleanup() { m_temp.reset(); }

    void keywordSearch_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<StaffField>("field");
        QTest::addColumn<QStringList>("expected"); // the codes, in the order listed
        const auto row = [](const char* name, const char* keyword, StaffField field,
                            const char* expected) {
            addTestRow(name, keyword, field,
                       QString::fromLatin1(expected).split(u' ', Qt::SkipEmptyParts));
        };
        const StaffField code = StaffField::staffCd;
        const StaffField name = StaffField::staffNm;
        row("empty keyword, by code: every member, highest first", "", code,
            "0012 0011 0010 0005 0004 0003 0002 0001");
        row("empty keyword, by name: members with a name", "", name,
            "0011 0001 0010 0004 0005 0002 0003");
        row("contained anywhere", "田", name, "0011 0001");
        row("quote", "'", name, "0002");
        row("percent", "%", name, "0003");
        row("underscore", "_", name, "0004");
        row("asterisk", "*", name, "0005");
        row("backslash matches nothing", "\\", name, "");
        row("Latin letters in any case", "AB", name, "0010");
        row("code part", "01", code, "0012 0011 0010 0001");
        row("reading, empty reading is a value", "", StaffField::staffKm,
            "0001 0003 0002 0010 0004 0005 0011");
    }
    void keywordSearch()
    {
        QFETCH(QString, keyword);
        QFETCH(StaffField, field);
        QFETCH(QStringList, expected);
        QCOMPARE(codes(ListStaff(m_temp->db(), keyword, field)), expected);
        QCOMPARE(CountStaff(m_temp->db(), keyword, field), expected.size());
    }

    void getStaff_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<StaffRecord>("expected");
        addTestRow("on file", "0002", kStaff[1]);
        addTestRow("not on file: the code, nothing else", "0099", StaffRecord{"0099", "", ""});
        addTestRow("null name and reading read as empty", "0012", StaffRecord{"0012", "", ""});
    }
    void getStaff()
    {
        QFETCH(QString, code);
        QFETCH(StaffRecord, expected);
        QCOMPARE(GetStaff(m_temp->db(), code), expected);
    }

    void saveReplacesAndKeepsTimesheets()
    {
        Database& db = m_temp->db();
        MonthHeader h{"0001", "", "", "200403", QDate(2004, 3, 1), QDate(2004, 3, 31)};
        saveMonth(db, h, workedMonth("0001", "200403", h.kikanSt, 31));

        const StaffRecord renamed{"0001", "山田花子", "ﾔﾏﾀﾞﾊﾅｺ"};
        SaveStaff(db, renamed);
        QCOMPARE(GetStaff(db, "0001"), renamed);
        QCOMPARE(CountStaff(db, "", StaffField::staffCd), 8);
        QCOMPARE(CountReportRows(db, "0001", "0001", "200403", "200403"), 31);
    }

    void deleteRemovesEveryRowOfTheCode()
    {
        Database& db = m_temp->db();
        for (const QString code : {"0001", "0002"}) {
            for (const QString month : {"200402", "200403"})
                saveMonth(db, {code, "", "", month, QDate(2004, 2, 1), QDate(2004, 2, 28)},
                          workedMonth(code, month, QDate(2004, 2, 1), 28));
        }
        closeMonth(db, {QDateTime::currentDateTime(), "clerk", "0001", "200402", "締め", ""});
        DeleteStaff(db, "0001");
        QVERIFY(closedMonths(db, "0001").empty());
        QVERIFY(loadHistory(db, "0001", "200402").front().deletedMember); // kept, marked

        QCOMPARE(GetStaff(db, "0001"), (StaffRecord{"0001", "", ""}));
        QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYKINTAISYUKEIJL WHERE staffCd = '0001'"),
                 "0");
        QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYTIMESHEETJL WHERE staffCd = '0001'"), "0");
        QCOMPARE(m_temp->scalar("SELECT count(*) FROM KYKINTAISYUKEIJL WHERE staffCd = '0002'"),
                 "2");
        QCOMPARE(CountReportRows(db, "0002", "0002", "200402", "200403"), 56);
        QCOMPARE(GetStaff(db, "0002"), kStaff[1]);
    }

    void membersWhoLeftAndTheirConditions()
    {
        Database& db = m_temp->db();
        QCOMPARE(loadConditions(db, "0001"), defaultConditions("0001"));
        const MemberConditions left{"0002", QDate(2003, 4, 1), QDate(2004, 2, 15), 3, 24, 8};
        saveConditions(db, left);
        QCOMPARE(loadConditions(db, "0002"), left);
        QCOMPARE(loadAllConditions(db).size(), std::size(kStaff) + 1);
        saveLeaveGrant(db, "0002", {QDate(2003, 10, 1), LeaveGrantRecord::Kind::Opening, 10, 4});
        saveLeaveGrant(db, "0002", {QDate(2003, 10, 1), LeaveGrantRecord::Kind::Opening, 10, 6});
        QCOMPARE(loadLeaveGrants(db, "0002"),
                 (std::vector<LeaveGrantRecord>{
                     {QDate(2003, 10, 1), LeaveGrantRecord::Kind::Opening, 10, 6}}));
        for (const QString code : {"0001", "0002"}) {
            saveMonth(db, {code, "", "", "200402", QDate(2004, 2, 1), QDate(2004, 2, 28)},
                      workedMonth(code, "200402", QDate(2004, 2, 1), 28));
            saveMonth(db, {code, "", "", "200403", QDate(2004, 2, 28), QDate(2004, 3, 27)},
                      workedMonth(code, "200403", QDate(2004, 2, 28), 29));
        }

        // Stepping in March passes over the member who left in February; the code finds her.
        MonthHeader march{"0001", "", "", "200403", QDate(2004, 2, 28), QDate(2004, 3, 27)};
        QVERIFY(NextStaffMonth(db, march));
        QCOMPARE(march.staffCd, "0003");
        QVERIFY(PrevStaffMonth(db, march));
        QCOMPARE(march.staffCd, "0001");
        QVERIFY(FindStaffMonth(db, march, "0002"));
        MonthHeader february{"0001", "", "", "200402", QDate(2004, 2, 1), QDate(2004, 2, 28)};
        QVERIFY(NextStaffMonth(db, february));
        QCOMPARE(february.staffCd, "0002");

        // A range leaves out her later month; her own code prints it.
        QCOMPARE(CountReportRows(db, "0001", "0002", "200402", "200403"), 28 + 29 + 28);
        QCOMPARE(LoadReportRows(db, "0001", "0002", "200402", "200403").size(), size_t(85));
        QCOMPARE(CountReportRows(db, "0002", "0002", "200403", "200403"), 29);
        QCOMPARE(loadPayrollRows(db, "0001", "0002", "200403").size(), size_t(1));

        // A day in two months is read once, as the later month has it.
        const std::vector<ClassDay> days =
            loadClassDays(db, "0002", QDate(2004, 2, 27), QDate(2004, 2, 29));
        QCOMPARE(days.size(), size_t(3));
        QCOMPARE(days[1].date, QDate(2004, 2, 28));

        DeleteStaff(db, "0002");
        QVERIFY(loadLeaveGrants(db, "0002").empty());
        QCOMPARE(loadConditions(db, "0002"), defaultConditions("0002"));
    }

    void twoClerksOnOneMember_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("other"); // what the other clerk does meanwhile
        addTestRow("the record changed meanwhile", "0001", "save");
        addTestRow("a new code saved by both", "0099", "save");
        addTestRow("the member deleted meanwhile", "0001", "delete");
    }
    void twoClerksOnOneMember()
    {
        QFETCH(QString, code);
        QFETCH(QString, other);
        Database& first = m_temp->db();
        const std::unique_ptr<Database> second = first.openAnother();
        const int shown = staffRevision(first, code);
        const StaffRecord theirs{code, "他の担当者の名前", ""};
        if (other == "save")
            SaveStaff(*second, theirs, shown);
        else
            DeleteStaff(*second, code, memberRevision(*second, code));
        QVERIFY_THROWS_EXCEPTION(StaleChange, SaveStaff(first, {code, "古い名前", "ﾖﾐ"}, shown));
        QCOMPARE(findStaff(first, code), other == "save" ? std::optional(theirs) : std::nullopt);
        // Shown anew, the clerk's save goes through.
        SaveStaff(first, {code, "古い名前", "ﾖﾐ"}, staffRevision(first, code));
        QCOMPARE(GetStaff(first, code).staffNm, "古い名前");
    }

    void failedSaveKeepsTheOldRow()
    {
        Database& db = m_temp->db();
        // The engine refuses the new row after the old one is gone.
        if (testingOnServer())
            db.execute(
                "ALTER TABLE CMSTAFFKIHONMST ADD CONSTRAINT refuse CHECK (staffNm <> '別人')");
        else
            db.execute("CREATE TRIGGER refuse BEFORE INSERT ON CMSTAFFKIHONMST "
                       "BEGIN SELECT RAISE(ABORT, 'refuse'); END");
        try {
            SaveStaff(db, {"0001", "別人", ""});
            QFAIL("the save went through");
        } catch (const StoreError& error) {
            QVERIFY2(error.message().contains("refuse"), qPrintable(error.message()));
        }
        QCOMPARE(GetStaff(db, "0001"), kStaff[0]);
    }

private:
    std::unique_ptr<TempDatabase> m_temp;
};

NUBIRA_TEST_MAIN_ON_ENGINES(TestStaffStore)
#include "tst_staffstore.moc"
