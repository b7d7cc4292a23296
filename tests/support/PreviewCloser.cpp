#include "PreviewCloser.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

PreviewCloser::PreviewCloser()
{
    connect(&m_timer, &QTimer::timeout, this, &PreviewCloser::poll);
    m_timer.start(20);
}

void PreviewCloser::poll()
{
    auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
        m_pages = preview->pageCount();
    m_shown = true;
    dialog->reject();
}
