#pragma once

#include "Records.h"

class Database;

// The staff member being edited on the staff registration screen: looked up by code, changed,
// saved or removed. Storage failures raise StoreError.
class StaffEditor {
public:
    const StaffRecord& record() const { return m_record; }
    // The code of the last lookup, padded.
    const QString& curCode() const { return m_curCode; }

    // Looks up the typed code, padded to four characters: the member on file, or a new member
    // with empty name and reading. A text equal to the code last looked up is not looked up
    // again, so the fields keep what the user typed. True when a lookup was made.
    bool lookUp(Database& db, const QString& typed);

    void setName(const QString& name) { m_record.staffNm = name; }
    void setReading(const QString& reading) { m_record.staffKm = reading; }

    // Why the fields as shown cannot be saved, or empty text when they can.
    static QString saveRefusal(const QString& codeText, const QString& nameText);
    // Why the fields as shown cannot be deleted, or empty text when they can.
    static QString deleteRefusal(const QString& codeText);
    static QString deleteQuestion();

    void save(Database& db) const;
    // Removes the member with all of the member's months. Raises StaleMonth when another clerk
    // changed one of the months since the lookup.
    void remove(Database& db) const;
    // Looks the member up again, as on file now.
    void reload(Database& db);

private:
    StaffRecord m_record;
    qint64 m_revision = 0;
    QString m_curCode;
};
