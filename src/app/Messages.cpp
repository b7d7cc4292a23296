#include "Messages.h"

#include <QApplication>
#include <QMessageBox>

QString AppTitle()
{
    return QStringLiteral("ﾇﾋﾞﾗ");
}

int ShowMsg(int kind, const QString& text)
{
    QMessageBox::Icon icon = QMessageBox::Information;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    switch (kind) {
    case kMsgError:
        icon = QMessageBox::Critical;
        break;
    case kMsgQuestion:
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    case kMsgInformation:
        break;
    default:
        return kMsgNone;
    }
    QMessageBox box(icon, AppTitle(), text, buttons, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    if (kind == kMsgQuestion)
        box.setEscapeButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return kMsgYes;
    case QMessageBox::No:
        return kMsgNo;
    default:
        return kMsgOk;
    }
}
