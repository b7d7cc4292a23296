#pragma once

#include "StoreError.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>

class Database;

// Several clerks at once: what one clerk changes (a member's month, a member's record, the office's
// calendar) carries a revision that every change raises by one and that is never given twice. A
// change made from what was shown at an older revision is refused.

// A change refused because someone else changed the same thing since it was shown.
class StaleChange : public StoreError {
public:
    StaleChange();
};

// A change to a member's month or record refused because the member is no longer on file.
class MemberGone : public StoreError {
public:
    explicit MemberGone(const QString& staffCd);
};

// Where one thing's revision is kept: the table, its key columns and this thing's key.
struct RevisionKey {
    QString table;
    QStringList columns;
    QVariantList values;
};

// The revision, 0 while nothing was ever changed.
int revision(Database& db, const RevisionKey& key);
// Raises the revision inside the caller's unit of work and returns the new one. With an expected
// revision, raises StaleChange instead when the revision is another one. One statement both checks
// and raises: the server's row lock (the file's write lock) makes a second clerk's statement wait
// for the first and then find the revision moved on.
int raiseRevision(Database& db, const RevisionKey& key, std::optional<int> expected);

// Raises MemberGone unless the member is on file; on a server the member's row is then held
// against a delete until the caller's unit of work ends.
void requireMember(Database& db, const QString& staffCd);

// The keys: a member's month, a member's record, the office's calendar.
RevisionKey monthRevisionKey(const QString& staffCd, const QString& syoriDt);
RevisionKey staffRevisionKey(const QString& staffCd);
RevisionKey calendarRevisionKey();
