#pragma once

#include "Records.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The payroll file: one line per member's stored month, with a header line, in the CSV of
// RFC 4180 (fields quoted where they hold a comma, a quote or a line break; CRLF line ends). The
// last column says whether the month was closed (締め済) or not (未締め).

enum class CsvEncoding {
    ShiftJis, // Windows' Shift_JIS (CP932), which Japanese payroll programs import
    Utf8Bom,
};

struct PayrollCsv {
    QByteArray bytes;
    QString refusal; // why no file can be written, or empty text
};

// The file's bytes; a member whose text the encoding cannot hold is refused by name, never
// written with a stand-in character.
PayrollCsv payrollCsv(const std::vector<PayrollRow>& rows, CsvEncoding encoding);
