#pragma once

#include <QDate>
#include <QString>

// The records of paid leave: what a member's grants are made from, besides the stored months.

// A member's working conditions, kept beside the staff master. A member saved without them has
// the defaults: five days and 40 hours a week, 8 hours a day.
struct MemberConditions {
    QString staffCd;
    QDate nyusyaDt;       // hire date; none when not entered
    QDate taisyokuDt;     // leaving date; none while the member works here
    int syuNissu = 5;     // scheduled working days a week, 1 to 7
    double syuJikan = 40; // scheduled hours a week
    double hiJikan = 8;   // scheduled hours a day

    // The member had left before the day: the leaving date lies before it.
    bool leftBefore(const QDate& day) const { return taisyokuDt.isValid() && taisyokuDt < day; }

    friend bool operator==(const MemberConditions&, const MemberConditions&) = default;
};

// A grant the clerk entered or decided, stored by its date.
struct LeaveGrantRecord {
    enum class Kind {
        Opening,   // 'K' 繰越: a grant made before the months on file, with the days left of it
        Confirmed, // 'F': a grant whose period before is not wholly on file, confirmed
        Refused,   // 'N': such a grant, not made
    };
    QDate fuyoDt;
    Kind kind = Kind::Opening;
    double fuyoNissu = 0; // an opening's days granted
    double zanNissu = 0;  // an opening's days left on the first day on file

    friend bool operator==(const LeaveGrantRecord&, const LeaveGrantRecord&) = default;
};

// One stored day of a member, as paid leave reads it: its date and its class as stored.
struct ClassDay {
    QDate date;
    QString syukinKb;

    friend bool operator==(const ClassDay&, const ClassDay&) = default;
};
