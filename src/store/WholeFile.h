#pragma once

#include <QString>

#include <functional>

class QIODevice;

// Writes a file so that it is either its old self or complete: the bytes go to a new file beside
// it, are flushed and synced to the disk, and only then take its name. A full disk, a size limit
// or any other failed write leaves no partial or empty file behind and the old one untouched.
// write puts the content into the device and returns false when it could not. False, with the
// system's reason in error, when the file was not written.
bool writeWholeFile(const QString& path, const std::function<bool(QIODevice&)>& write,
                    QString* error = nullptr);

// The same for bytes at hand.
bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// Creates a folder with its missing parents. The folders it creates are their owner's alone
// (0700): the data folder holds staff names and hours. False when the folder is not there after.
bool makePrivateFolder(const QString& path);

// What the clerk is told when a file could not be written: where, what to check, and the reason.
QString wholeFileFailure(const QString& path, const QString& reason);
