#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>

// Answers the program's message boxes while a test runs: records each box's text, icon and
// buttons, then presses the next planned answer (OK or Yes when none is planned), and gives the
// activation back to the window that had it.
class MessageAnswerer : public QObject {
    Q_OBJECT

public:
    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        QMessageBox::StandardButtons buttons;
        QStringList buttonTexts; // as shown, left to right
    };

    explicit MessageAnswerer(QList<QMessageBox::StandardButton> answers = {});

    const QList<Seen>& seen() const { return m_seen; }
    QStringList texts() const;

private:
    void poll();

    QTimer m_timer;
    QList<QMessageBox::StandardButton> m_answers;
    QList<Seen> m_seen;
    QPointer<QWidget> m_activeBefore;
};
