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

// The payroll file's bytes.
CsvFile payrollCsv(const std::vector<PayrollRow>& rows, CsvEncoding encoding);
