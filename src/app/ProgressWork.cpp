#include "ProgressWork.h"

#include "Common.h"
#include "Database.h"
#include "MainWindow.h"
#include "ProgramFolders.h"
#include "Progress.h"

#include <QScopeGuard>

void runWithProgress(const std::function<void(Database&)>& work)
{
    Database& program = openDb();
    // The clerk's own connection goes to the worker and comes back however the work ends.
    program.release();
    const auto takeBack = qScopeGuard([&program] { program.takeOver(); });
    runWithProgress(gMDIForm.data(), programFolders().clipPath(), [&program, &work] {
        program.takeOver();
        const auto handBack = qScopeGuard([&program] { program.release(); });
        work(program);
    });
}

void runFileWorkWithProgress(const std::function<void()>& work)
{
    runWithProgress(gMDIForm.data(), programFolders().clipPath(), work);
}
