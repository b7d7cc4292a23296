#include "FileDialogs.h"

#include <QFileDialog>

namespace {

FileAnswer& fileAnswer()
{
    static FileAnswer answer;
    return answer;
}

} // namespace

void setFileAnswer(FileAnswer answer)
{
    fileAnswer() = std::move(answer);
}

QString askFileName(QWidget* owner, const FileQuestion& question)
{
    if (fileAnswer())
        return fileAnswer()(question);
    QFileDialog dialog(owner, question.title, question.initial, question.filter);
    dialog.setAcceptMode(question.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(question.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}
