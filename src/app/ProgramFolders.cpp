#include "ProgramFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString withSlash(QString folder)
{
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

} // namespace

ProgramFolders ProgramFolders::portable(const QString& programFolder)
{
    const QString folder = withSlash(programFolder);
    return {folder, folder, false};
}

ProgramFolders findProgramFolders(const QString& programFolder)
{
    // Root may write /usr/bin: only the shared folder beside tells an installed program.
    const QString files = QDir::cleanPath(programFolder + QStringLiteral("/../share/nubira"));
    if (!QFileInfo(files).isDir())
        return ProgramFolders::portable(programFolder);
    return {withSlash(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)),
            withSlash(files), true};
}

const ProgramFolders& programFolders()
{
    static const ProgramFolders folders = findProgramFolders(programFolder());
    return folders;
}

QString programFolder()
{
    return withSlash(QCoreApplication::applicationDirPath());
}
