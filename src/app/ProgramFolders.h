#pragma once

#include <QString>

// Where the program keeps its data and finds its files. In the portable layout both are the
// program's own folder. An installed program, whose folder is not the user's, reads its files from
// the shared folder beside it (../share/nubira/) and keeps its data in the user's data folder.
struct ProgramFolders {
    QString data;  // holds data/data.mdb and the lock; with a closing "/"
    QString files; // holds hlp/ and Img/; with a closing "/"
    bool installed = false;

    // Everything below one folder.
    static ProgramFolders portable(const QString& programFolder);

    QString databasePath() const { return data + QStringLiteral("data/data.mdb"); }
    QString helpPath() const { return files + QStringLiteral("hlp/myhelp.HLP"); }
    QString clipPath() const { return files + QStringLiteral("Img/stopwatch.avi"); }
};

// The layout for a program folder: installed when the shared folder ../share/nubira stands
// beside it, else portable.
ProgramFolders findProgramFolders(const QString& programFolder);

// The folders of the running program, found once from its executable's folder.
const ProgramFolders& programFolders();

// The program folder: the executable's folder with a closing "/".
QString programFolder();
