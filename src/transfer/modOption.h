#pragma once

#include <QString>

class QWidget;

// Backup and restore of the whole database as a ".tim" file.

// The file dialogs: owner, name-only flag, filter, initial folder (empty: the platform's
// choice), title. The answer is the chosen path, or only its file name with the flag; empty text
// when cancelled. The save dialog asks before replacing a file and needs an existing folder; the
// open dialog needs an existing file.
QString ShowSaveDialog(QWidget* owner, bool nameOnly, const QString& filter,
                       const QString& initialFolder, const QString& title);
QString ShowOpenDialog(QWidget* owner, bool nameOnly, const QString& filter,
                       const QString& initialFolder, const QString& title);

// Writes the database file to a chosen ".tim" file, the database closed meanwhile.
void DataOut(QWidget* owner);

// Replaces the database by a chosen ".tim" file. What the restore undoes (months closed now and
// open in the file, changes made since the file, on a server every clerk's data) is asked about
// first. The open working screens are closed next, as they hold months of the database being
// replaced. The history of changes and the revisions outlive the restore, with an entry for the
// restore itself. The previous database is kept until the restored one opens and proves whole; on
// any failure it is put back and opened again.
void DataIn(QWidget* owner);
