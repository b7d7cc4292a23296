#pragma once

#include "LeaveRecords.h"
#include "Records.h"

#include <optional>

class Database;

// The staff member being edited on the staff registration screen: looked up by code, changed,
// saved or removed. Storage failures raise StoreError.
class StaffEditor {
public:
    const StaffRecord& record() const { return m_record; }
    // The member's working conditions: as on file, the defaults for a new member.
    const MemberConditions& conditions() const { return m_conditions; }

    // Looks up the typed code, padded to four characters: the member on file, or a new member
    // with empty name and reading. A text equal to the code last looked up is not looked up
    // again, so the fields keep what the user typed. True when a lookup was made.
    bool lookUp(Database& db, const QString& typed);

    void setName(const QString& name) { m_record.staffNm = name; }
    void setReading(const QString& reading) { m_record.staffKm = reading; }
    void setConditions(const MemberConditions& conditions);

    // Why the fields as shown cannot be saved, or empty text when they can.
    static QString saveRefusal(const QString& codeText, const QString& nameText);
    // Why the conditions as edited cannot be saved, or empty text when they can.
    QString conditionsRefusal() const;
    // Why the fields as shown cannot be deleted, or empty text when they can.
    static QString deleteRefusal(const QString& codeText);
    static QString deleteQuestion();

    // Saves the member as edited and records what changed in the history, as one unit. Raises
    // StaleChange when another clerk saved or deleted the member since the lookup.
    void save(Database& db);
    // Removes the member with all of the member's months, and records it. Raises StaleChange when
    // another clerk changed the member or one of the months since the lookup.
    void remove(Database& db) const;
    // The question asked once more before removing a member whose months must still be kept by
    // law, naming the newest; empty text when every month is past its keeping.
    QString keepingQuestion(Database& db, const QDate& today) const;
    // Looks the member up again, as on file now.
    void reload(Database& db);

private:
    StaffRecord m_record;
    std::optional<StaffRecord> m_onFile; // as looked up
    MemberConditions m_conditions;
    MemberConditions m_conditionsOnFile;
    int m_recordRevision = 0;
    qint64 m_memberRevision = 0;
    QString m_curCode;
};
