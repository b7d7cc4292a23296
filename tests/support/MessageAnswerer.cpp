#include "MessageAnswerer.h"

#include <QAbstractButton>
#include <QApplication>

MessageAnswerer::MessageAnswerer(QList<QMessageBox::StandardButton> answers)
    : m_answers(std::move(answers))
    , m_activeBefore(QApplication::activeWindow())
{
    connect(&m_timer, &QTimer::timeout, this, &MessageAnswerer::poll);
    m_timer.start(10);
}

QStringList MessageAnswerer::texts() const
{
    QStringList result;
    for (const Seen& s : m_seen)
        result << s.text;
    return result;
}

void MessageAnswerer::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        if (QApplication::activeWindow())
            m_activeBefore = QApplication::activeWindow();
        return;
    }
    QStringList buttonTexts;
    for (const QAbstractButton* button : box->buttons())
        buttonTexts << button->text();
    m_seen.append(
        {box->windowTitle(), box->text(), box->icon(), box->standardButtons(), buttonTexts});
    QMessageBox::StandardButton answer =
        m_answers.isEmpty() ? QMessageBox::NoButton : m_answers.takeFirst();
    if (answer == QMessageBox::NoButton)
        answer = box->standardButtons() & QMessageBox::Yes ? QMessageBox::Yes : QMessageBox::Ok;
    if (QAbstractButton* button = box->button(answer))
        button->click();
    else
        box->reject();
    // The window manager gives the activation back to the window under the box; the offscreen
    // platform has none, so the answerer does it.
    if (m_activeBefore && !QApplication::activeWindow())
        QApplication::setActiveWindow(m_activeBefore);
}
