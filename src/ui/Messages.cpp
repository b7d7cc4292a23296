#include "Messages.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QMessageBox>

#include <exception>

QString appTitle()
{
    return QStringLiteral("ﾇﾋﾞﾗ");
}

namespace {

// Silent unless asked for (QT_LOGGING_RULES="nubira.messages.info=true"): what a box said, for a
// program run without anyone to read it.
Q_LOGGING_CATEGORY(lcMessages, "nubira.messages", QtWarningMsg)

MessageAnswer& messageAnswer()
{
    static MessageAnswer answer;
    return answer;
}

int showBox(QMessageBox::Icon icon, QMessageBox::StandardButtons buttons, const QString& text)
{
    qCInfo(lcMessages, "%s", qUtf8Printable(text));
    QMessageBox box(icon, appTitle(), text, buttons, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    if (buttons & QMessageBox::No) {
        box.setEscapeButton(QMessageBox::No);
        if (icon == QMessageBox::Warning)
            box.setDefaultButton(QMessageBox::No);
    }
    if (buttons & QMessageBox::Cancel) {
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    return box.exec();
}

} // namespace

void setMessageAnswer(MessageAnswer answer)
{
    messageAnswer() = std::move(answer);
}

void showPlainMsg(const QString& text)
{
    if (messageAnswer())
        return void(messageAnswer()(kMsgNone, text));
    showBox(QMessageBox::NoIcon, QMessageBox::Ok, text);
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
    case kMsgSaveQuestion:
        icon = QMessageBox::Warning;
        buttons = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
        break;
    case kMsgRiskyQuestion:
        icon = QMessageBox::Warning;
        buttons = QMessageBox::Yes | QMessageBox::No;
        break;
    default:
        return kMsgNone;
    }
    if (messageAnswer())
        return messageAnswer()(kind, text);
    switch (showBox(icon, buttons, text)) {
    case QMessageBox::Yes:
    case QMessageBox::Save:
        return kMsgYes;
    case QMessageBox::No:
    case QMessageBox::Discard:
        return kMsgNo;
    case QMessageBox::Cancel:
        return kMsgCancel;
    default:
        return kMsgOk;
    }
}

bool runReported(const QString& handler, const std::function<void()>& work)
{
    try {
        work();
        return true;
    } catch (const std::exception& error) {
        ShowMsg(kMsgError, handler + u':' + QString::fromUtf8(error.what()));
    }
    return false;
}
