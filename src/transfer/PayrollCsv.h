#pragma once

#include "Records.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// The payroll file: one line per member's stored month, with a header line, in the CSV of
// RFC 4180 (fields quoted where they hold a comma, a quote or a line break; CRLF line ends). The
// last column says whether the month was closed (締め済) or not (未締め).

enum class CsvEncoding {
    ShiftJis, // Windows' Shift_JIS (CP932), which Japanese payroll programs import
    Utf8Bom,
};

struct CsvFile {
    QByteArray bytes;
    QString refusal; // why no file can be written, or empty text
};

// One line of a CSV file, with what it is of, as a refusal names it ("スタッフ 0001 青木").
struct CsvRow {
    QString owner;
    QStringList fields;
};

// A CSV file of a header line and rows; a row whose text the encoding cannot hold is refused by
// its owner, never written with a stand-in character.
CsvFile csvFile(const QStringList& header, const std::vector<CsvRow>& rows, CsvEncoding encoding);

// How the payroll file writes hours: decimal hours with two places (as the standard file), hours
// and minutes "7:20", or whole minutes "440". Either of the latter two is exact to the minute.
enum class HoursUnit { Decimal, HoursMinutes, Minutes };

// A column of the payroll file: what it carries, by key, and its header text.
struct PayrollColumn {
    QString key;
    QString header;

    friend bool operator==(const PayrollColumn&, const PayrollColumn&) = default;
};

// The columns, their order and headers, and the unit of hours of a payroll program's file. A
// header of hours says its unit, except in decimal hours, as the standard file has it.
struct PayrollLayout {
    QString name; // empty for the standard layout
    HoursUnit unit = HoursUnit::Decimal;
    std::vector<PayrollColumn> columns;

    // The file as it always was: every column of the month, none of the law's hours.
    static PayrollLayout standard();
    // Every column the file can carry, with its standard header: the month's, then the law's.
    static std::vector<PayrollColumn> allColumns();
    // A column of the law's hours is carried: the months' figures must be made.
    bool carriesLawsHours() const;

    // The stored form, and the layout read back from it (columns of no known key are dropped).
    QString toText() const;
    static PayrollLayout fromText(const QString& name, const QString& text);

    friend bool operator==(const PayrollLayout&, const PayrollLayout&) = default;
};

// The payroll file's bytes, in a layout.
CsvFile payrollCsv(const std::vector<PayrollRow>& rows, CsvEncoding encoding,
                   const PayrollLayout& layout = PayrollLayout::standard());
