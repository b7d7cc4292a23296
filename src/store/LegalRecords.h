#pragma once

#include <QDate>
#include <QString>

#include <optional>

// The records of the law's hours: what the second computation beside the sheet's takes and gives,
// and the office's settings for it, kept with the office's other settings.

// A stored day as the law reads it: the two clock texts ("hhmm" or empty). A day counts only with
// both times, whatever its class.
struct LegalDay {
    QDate date;
    QString syukin;
    QString taisya;
};

// The break taken from a day's span: one hour when the span is over an hour (the sheet's rule),
// or the law's minimum: none up to 6 hours, 45 minutes up to 8 hours 45 minutes, else an hour.
enum class BreakRule { OneHour, LawMinimum };

struct LegalRules {
    Qt::DayOfWeek weekStart = Qt::Sunday;
    std::optional<Qt::DayOfWeek> legalHoliday = Qt::Sunday; // none: no day is the legal day off
    BreakRule breakRule = BreakRule::OneHour;
};

// Minutes of the period's days.
struct LegalMonth {
    int worked = 0;         // span less break, every day, the legal day off included
    int withinLegal = 0;    // within 8 hours a day and 40 a week
    int overtime = 0;       // past 8 hours a day or 40 a week (法定外残業)
    int overtimeOver60 = 0; // the part of the month's overtime past 60 hours
    int legalHoliday = 0;   // worked on the legal day off (法定休日労働)
    int night = 0;          // in the late-night windows

    friend bool operator==(const LegalMonth&, const LegalMonth&) = default;
};

// The overtime agreement (36協定, 労働基準法 第36条) and its limits, in minutes.
struct AgreementRules {
    int firstMonth = 4;                // the agreement year's first month
    int monthlyLimit = 45 * 60;        // overtime a month
    int yearlyLimit = 360 * 60;        // overtime a year
    bool specialClause = false;        // 特別条項
    int specialYearlyLimit = 720 * 60; // overtime a year under the special clause
    int monthlyCap = 100 * 60;         // overtime and legal-day-off work: under this every month
    int averageCap = 80 * 60;          // their average over every run of 2 to 6 months
    int monthsOverLimit = 6;           // months a year over the monthly limit
};

// The office's settings for the law's hours. Off until the office turns it on: then every screen,
// sheet and file is as without it.
struct LegalSettings {
    bool enabled = false;
    LegalRules rules;
    AgreementRules agreement;

    // The settings the stored figures of a month were made under, as text: figures made under
    // other settings are made again.
    QString rulesKey() const
    {
        return QStringLiteral("%1/%2/%3")
            .arg(int(rules.weekStart))
            .arg(rules.legalHoliday ? int(*rules.legalHoliday) : 0)
            .arg(int(rules.breakRule));
    }
};

// A month's law figures as stored with it, and the settings they were made under.
struct StoredLegalMonth {
    QString syoriDt;
    LegalMonth figures;
    QString rulesKey;
};
