#pragma once

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

// The animation clip of the progress window: a strip of square frames side by side in one
// image file, played in a loop.
class ClipPlayer : public QLabel {
    Q_OBJECT

public:
    explicit ClipPlayer(QWidget* parent = nullptr);

    // Loads the clip; false (and no animation) when the file is missing or unreadable.
    bool open(const QString& path);
    void play();

    int frameCount() const { return int(m_frames.size()); }
    // How many frames have been shown since play().
    int framesShown() const { return m_framesShown; }

private:
    void nextFrame();

    std::vector<QPixmap> m_frames;
    QTimer m_timer;
    int m_current = 0;
    int m_framesShown = 0;
};

// The progress window: "処理中です。しばらくおまちください" with a moving stopwatch, shown for the
// length of one operation.
class frmStopWatch : public QWidget {
    Q_OBJECT

public:
    explicit frmStopWatch(const QString& clip, QWidget* parent = nullptr);

    ClipPlayer* player() const { return m_player; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    ClipPlayer* m_player;
};

// Runs work on a worker thread while a fresh progress window playing the clip stands over the
// window over; the windows take no input until it ends, while the window and its animation keep
// being drawn. work must not touch widgets; what it throws is thrown again here.
void runWithProgress(QWidget* over, const QString& clip, const std::function<void()>& work);
