#pragma once

#include "FileDialogs.h"
#include "TempDatabase.h"

#include <QEvent>
#include <QList>
#include <QObject>
#include <QStringList>

#include <memory>

class QWidget;
class frmMDIForm;

// The program as a screen test meets it: a fresh database with the sample staff, open as the
// program's database, and, when asked for, the main window shown and active. Every window left
// open is deleted, and the database closed, when the fixture goes.
class ProgramFixture {
public:
    explicit ProgramFixture(bool withMainWindow = false);
    ~ProgramFixture();
    ProgramFixture(const ProgramFixture&) = delete;
    ProgramFixture& operator=(const ProgramFixture&) = delete;

    TempDatabase& temp() { return m_temp; }
    Database& db() { return m_temp.db(); }
    frmMDIForm* mainWindow() const { return m_main.get(); }

private:
    TempDatabase m_temp;
    std::unique_ptr<frmMDIForm> m_main;
};

// The program's messages answered without a box while an object lives: each is recorded and
// answered from the list, then with Yes or OK.
class ScriptedMessages {
public:
    explicit ScriptedMessages(QList<int> answers = {});
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    const QStringList& texts() const { return m_texts; }
    const QList<int>& kinds() const { return m_kinds; }

private:
    QList<int> m_answers;
    QStringList m_texts;
    QList<int> m_kinds;
};

// The file dialogs answered while an object lives: with the paths in turn, then cancelled.
class ScriptedFiles {
public:
    explicit ScriptedFiles(QStringList paths);
    ~ScriptedFiles();
    ScriptedFiles(const ScriptedFiles&) = delete;
    ScriptedFiles& operator=(const ScriptedFiles&) = delete;

    const QList<FileQuestion>& asked() const { return m_asked; }

private:
    QStringList m_paths;
    QList<FileQuestion> m_asked;
};

// Counts the events of one kind that windows of an object name get while it lives: the
// progress window shown ("frmStopWatch", Show), the splash drawn ("frmSplash", Paint).
class WindowEvents : public QObject {
public:
    WindowEvents(QString objectName, QEvent::Type type);
    ~WindowEvents() override;
    WindowEvents(const WindowEvents&) = delete;
    WindowEvents& operator=(const WindowEvents&) = delete;

    int count() const { return m_count; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_objectName;
    QEvent::Type m_type;
    int m_count = 0;
};

// Shows a window and waits until it is the active one.
bool showActive(QWidget* window);

// Deletes the windows and objects whose deletion was posted (closed screens, deleteLater) and
// lets the events that follow run, so that a test sees the program as the user would next.
void flushDeletes();
