#include "ScreenTest.h"

#include "Common.h"
#include "Database.h"
#include "MainWindow.h"
#include "Messages.h"
#include "Schema.h"
#include "WorkScreen.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QWidget>

ProgramFixture::ProgramFixture(bool withMainWindow)
{
    seedSampleStaff(m_temp.db());
    gDb = openDatabase(m_temp.path());
    if (!withMainWindow)
        return;
    m_main = std::make_unique<frmMDIForm>(QString());
    if (!showActive(m_main.get()))
        qWarning("the main window did not become active");
}

ProgramFixture::~ProgramFixture()
{
    m_main.reset();
    delete gMDIForm.data();
    QList<QPointer<QWidget>> screens;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<WorkScreen*>(window))
            screens << window;
    }
    for (const QPointer<QWidget>& screen : screens)
        delete screen.data(); // a screen owned by another is gone with it
    flushDeletes();
    gDb.reset();
}

ScriptedMessages::ScriptedMessages(QList<int> answers)
    : m_answers(std::move(answers))
{
    setMessageAnswer([this](int kind, const QString& text) {
        m_kinds << kind;
        m_texts << text;
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        const bool question =
            kind == kMsgQuestion || kind == kMsgSaveQuestion || kind == kMsgRiskyQuestion;
        return question ? int(kMsgYes) : int(kMsgOk);
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

WindowEvents::WindowEvents(QString objectName, QEvent::Type type)
    : m_objectName(std::move(objectName))
    , m_type(type)
{
    qApp->installEventFilter(this);
}

WindowEvents::~WindowEvents()
{
    qApp->removeEventFilter(this);
}

bool WindowEvents::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == m_type && watched->objectName() == m_objectName)
        ++m_count;
    return false;
}
