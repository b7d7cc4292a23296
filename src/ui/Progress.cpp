#include "Progress.h"

#include "Placement.h"
#include "ScreenParts.h"

#include <QApplication>
#include <QEventLoop>
#include <QFrame>
#include <QImage>
#include <QPointer>
#include <QThread>

#include <exception>

namespace {

const QColor kPaleYellow(255, 255, 192);

} // namespace

ClipPlayer::ClipPlayer(QWidget* parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
    m_timer.setInterval(90);
    connect(&m_timer, &QTimer::timeout, this, &ClipPlayer::nextFrame);
}

bool ClipPlayer::open(const QString& path)
{
    m_frames.clear();
    const QImage strip(path, "PNG");
    if (strip.isNull() || strip.height() == 0)
        return false;
    const int side = strip.height();
    for (int x = 0; x + side <= strip.width(); x += side)
        m_frames.push_back(QPixmap::fromImage(strip.copy(x, 0, side, side)));
    m_current = 0;
    if (!m_frames.empty())
        setPixmap(m_frames.front());
    return !m_frames.empty();
}

void ClipPlayer::play()
{
    m_framesShown = 0;
    if (!m_frames.empty())
        m_timer.start();
}

void ClipPlayer::nextFrame()
{
    m_current = (m_current + 1) % int(m_frames.size());
    setPixmap(m_frames[size_t(m_current)]);
    ++m_framesShown;
}

frmStopWatch::frmStopWatch(const QString& clip, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_player(nullptr)
{
    setObjectName(QStringLiteral("frmStopWatch"));
    setAttribute(Qt::WA_DeleteOnClose);
    const auto px = [this](int twips) { return twipsToPixels(twips, this); };
    setFixedSize(px(8070), px(780));
    QPalette background = palette();
    background.setColor(QPalette::Window, kPaleYellow);
    setPalette(background);
    setAutoFillBackground(true);

    auto* outline = new QFrame(this);
    outline->setObjectName(QStringLiteral("Frame1"));
    outline->setFrameStyle(QFrame::Box | QFrame::Raised);
    outline->setGeometry(px(45), 0, px(7980), px(765));

    auto* viewer = new QFrame(this);
    viewer->setObjectName(QStringLiteral("fraViewer"));
    viewer->setGeometry(px(660), px(105), px(840), px(630));
    m_player = new ClipPlayer(viewer);
    m_player->setObjectName(QStringLiteral("obj_animation"));
    m_player->setGeometry(0, 0, viewer->width(), viewer->height());

    auto* text =
        new QLabel(QStringLiteral("処理中です。しばらくおまちください・・・・・・・・・"), this);
    text->setObjectName(QStringLiteral("Label2"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPointSizeF(9.75);
    font.setBold(true);
    text->setFont(font);
    setTextColour(text, QColor(128, 0, 0));
    // The IPA font runs wider than the font the layout was drawn for: the text may use the
    // window's width to its right.
    text->setGeometry(px(2250), px(330) - 4, width() - px(2250) - px(120), px(300) + 8);

    // A missing clip leaves the window without animation.
    if (m_player->open(clip))
        m_player->play();
}

void frmStopWatch::showEvent(QShowEvent* event)
{
    placeCentred(this);
    QWidget::showEvent(event);
}

void runWithProgress(QWidget* over, const QString& clip, const std::function<void()>& work)
{
    const QPointer<QWidget> activeBefore = QApplication::activeWindow();
    auto* window = new frmStopWatch(clip, over);
    window->show();
    QCoreApplication::processEvents();

    std::exception_ptr failure;
    QEventLoop loop;
    QThread* worker = QThread::create([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    delete worker;

    window->close();
    // The activation goes back to where the clerk was working, window manager or not.
    if (activeBefore && !QApplication::activeWindow())
        QApplication::setActiveWindow(activeBefore);
    if (failure)
        std::rethrow_exception(failure);
}
