#include "Splash.h"

#include "Placement.h"
#include "ScreenParts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QWindow>

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setStyleSheet(QStringLiteral("frmSplash { background: white; border: 1px solid #808080; }"));
    setAttribute(Qt::WA_StyledBackground);
    const auto px = [this](int twips) { return twipsToPixels(twips, this); };
    setFixedSize(px(6270), px(3525));

    addProductTitle(this, QRect(px(2115), px(780), px(4035), px(780)));

    auto* image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(programIcon().pixmap(px(1665), px(1665)));
    image->setGeometry(px(225), px(330), px(1665), px(1665));
}

void frmSplash::showEvent(QShowEvent* event)
{
    placeCentred(this);
    QWidget::showEvent(event);
}

void frmSplash::showOnScreen()
{
    show();
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(5);
    }
    repaint();
}

void frmSplash::stayFor(int milliseconds)
{
    QEventLoop pause;
    QTimer::singleShot(milliseconds, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
}
