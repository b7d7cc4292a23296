#include "ScreenTest.h"

#include "Messages.h"

#include <QApplication>
#include <QTest>
#include <QWidget>

ScriptedMessages::ScriptedMessages(QList<int> answers)
    : m_answers(std::move(answers))
{
    setMessageAnswer([this](int kind, const QString& text) {
        m_kinds << kind;
        m_texts << text;
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return kind == kMsgQuestion || kind == kMsgSaveQuestion ? int(kMsgYes) : int(kMsgOk);
    });
}

ScriptedMessages::~ScriptedMessages()
{
    setMessageAnswer({});
}

ScriptedFiles::ScriptedFiles(QStringList paths)
    : m_paths(std::move(paths))
{
    setFileAnswer([this](const FileQuestion& question) {
        m_asked << question;
        return m_paths.isEmpty() ? QString() : m_paths.takeFirst();
    });
}

ScriptedFiles::~ScriptedFiles()
{
    setFileAnswer({});
}

bool showActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window->window());
    return QTest::qWaitForWindowActive(window->window());
}

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
