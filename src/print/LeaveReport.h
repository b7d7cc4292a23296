#pragma once

#include "MemberLeave.h"
#include "ReportEngine.h"

// The printed 年次有給休暇管理簿 of a member: the member with the hire date and working
// conditions, then a line a grant year, dates in the Japanese era as on the attendance sheet.
ReportDocument leaveLedgerReport(const MemberLeave& leave, const QDate& today);
