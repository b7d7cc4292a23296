#pragma once

#include <QString>

// The files of a backup and a restore, without dialogs or messages. A ".tim" backup is one whole
// SQLite file of the program's schema. Each step returns whether it succeeded and throws nothing,
// so that the restore can put the previous database back at any step.

// The backup name for a chosen name: ".tim" appended unless it ends in exactly ".tim" (letter
// case counts).
QString timFileName(const QString& chosen);

// Copies a file so that the target is either its old self or a complete copy: the copy is written
// beside the target and renamed over it. False, with the system's reason, when anything fails.
bool copyWhole(const QString& from, const QString& to, QString* error = nullptr);

// The previous database kept during a restore: "data.bak" beside the database file.
QString backupPath(const QString& database);

// A previous database left over by a restore that was cut off is renamed aside with the time of
// the move ("data-yyyyMMdd-hhmmss.bak" beside the database, "-2" and on added when that name is
// taken), so that it neither blocks the next restore nor is lost. False when it is there and
// cannot be moved.
bool setAsideLeftoverBackup(const QString& database);

// The template of a QTemporaryDir in which a backup or a restore works on its copy of the data:
// in the data folder, which is the user's alone, named after this process ("work-<pid>-…").
QString workFolderTemplate(const QString& dataFolder);

// At start-up: removes the work folders of processes that are gone, such as a killed restore's
// copy of the whole database.
void removeAbandonedWorkFolders(const QString& dataFolder);

// At start-up: when a restore was cut off between moving the database aside and copying the
// restored file in, the database file is missing and the previous one is put back. True when it
// did so.
bool recoverInterruptedRestore(const QString& database);
