#pragma once

#include <QObject>
#include <QTimer>

// Closes the print preview as soon as it opens while a test runs, noting how many pages it
// showed.
class PreviewCloser : public QObject {
    Q_OBJECT

public:
    PreviewCloser();

    bool shown() const { return m_shown; }
    int pages() const { return m_pages; }

private:
    void poll();

    QTimer m_timer;
    bool m_shown = false;
    int m_pages = 0;
};
