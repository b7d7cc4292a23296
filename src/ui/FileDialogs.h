#pragma once

#include <QString>

#include <functional>

class QWidget;

// A file name asked of the clerk: for saving (the dialog asks before replacing a file and needs
// an existing folder) or for opening (it needs an existing file).
struct FileQuestion {
    bool save = false;
    QString title;
    QString initial; // a folder, or a suggested file name; empty: the platform's choice
    QString filter;
};

// The chosen path, or empty text when the clerk cancels.
QString askFileName(QWidget* owner, const FileQuestion& question);

// Stands in for the file dialog while set: gets each question and returns the answer. Tests
// choose files through it; empty for the real dialog.
using FileAnswer = std::function<QString(const FileQuestion& question)>;
void setFileAnswer(FileAnswer answer);
