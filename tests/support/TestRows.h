#pragma once

#include <QTest>

// One row of a data-driven test: its name, then a value for each column in turn.
template <class... Values> void addTestRow(const char* name, const Values&... values)
{
    (QTest::newRow(name) << ... << values);
}
