#pragma once

#include "LeaveStore.h"
#include "PaidLeave.h"
#include "Records.h"

#include <QDate>
#include <QStringList>

#include <functional>

#include <vector>

class Database;

// One member's paid leave as the ledger screen works on it (年次有給休暇管理簿): the ledger as
// of a day, and the clerk's entries, each recorded in the member's history with time and user:
// opening balances (繰越) and the word on grants whose period before is not wholly on file.
// Storage failures raise StoreError.
class MemberLeave {
public:
    // Loads the member of the typed code, filled to four characters, as of a day. False, with
    // nothing changed, when the code is not on file.
    bool load(Database& db, const QString& typedCode, const QDate& asOf);
    bool isLoaded() const { return !m_member.staffCd.isEmpty(); }

    const StaffRecord& member() const { return m_member; }
    const MemberConditions& conditions() const { return m_inputs.conditions; }
    const LeaveLedger& ledger() const { return m_ledger; }
    const QDate& asOf() const { return m_asOf; }

    // The clerk's word on the unrecorded grant of that date: made or not.
    void decideGrant(Database& db, const QDate& fuyoDt, bool granted);
    // Why an opening balance cannot be entered, or empty text when it can.
    QString openingRefusal(const LeaveGrantRecord& opening) const;
    // Enters or replaces the opening balance of its date.
    void saveOpening(Database& db, const LeaveGrantRecord& opening);
    // Removes what the clerk entered or decided for that date: the law decides again.
    void removeEntry(Database& db, const QDate& fuyoDt);

private:
    void reload(Database& db);
    void record(Database& db, const QString& sousa, const QString& naiyou);

    StaffRecord m_member;
    LeaveInputs m_inputs;
    LeaveLedger m_ledger;
    QDate m_asOf;
};

// A member's place on the 5-day duty of a grant.
struct FiveDayRow {
    QString staffCd;
    QString staffNm;
    FiveDayDuty duty;
};
// Every member still here with a grant of 10 days or more that is good today, by code, each
// grant a row; warned a number of months before the due date.
std::vector<FiveDayRow> loadFiveDayList(Database& db, const QDate& today, int warningMonths);

// The ledger as a table, shown, printed and exported alike: the columns' captions, and one row
// of texts a grant year with its dates written by dateText: the grant date, its basis ("法定",
// "繰越", "不付与", with "記録なし"), the days granted, carried over, the dates taken
// ("2024/11/05, 2025/02/03(半)"), the days taken, lapsed, left, and the 5-day duty ("達成",
// "あと 3 日（2025/09/30まで）", empty for a grant without it).
QStringList ledgerColumns();
std::vector<QStringList> ledgerRows(const LeaveLedger& ledger,
                                    const std::function<QString(const QDate&)>& dateText);
