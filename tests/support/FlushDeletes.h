#pragma once

#include <QCoreApplication>
#include <QEvent>

// Deletes the windows and objects whose deletion was posted (closed screens, deleteLater) and lets
// the events that follow from it run, so that a test sees the program as the user would next.
inline void FlushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
