#pragma once

#include <QList>
#include <QWidget>

class QKeyEvent;

// The base of the working screens. A screen is named and captioned with the program's icon, its
// size fixed in twips, and it is placed once, on its first show. Its keys are its own: Alt with
// the underlined letter of a control's caption acts on that control (a button is pressed, a field
// or a frame's chosen option takes the focus), and inside the main window that letter comes before
// the menus'. Enter moves to the next field and Shift+Enter to the previous one, whatever control
// has the focus, buttons included: a button is pressed by a click, Space or its access key, never
// by Enter, so Enter after Enter cannot answer a question unseen.
class WorkScreen : public QWidget {
    Q_OBJECT

public:
    enum class Placement {
        Centred,  // across the screen, or the main window's working area
        TopRight, // 500 twips from the right edge, 20 from the top
    };

protected:
    WorkScreen(const QString& objectName, const QString& caption, QSize sizeTwips,
               Placement placement, QWidget* parent);

    // Twips (1440 to the inch) in this screen's pixels.
    int px(int twips) const;
    QRect px(int left, int top, int width, int height) const;

    // The keyboard order of the controls, first to last.
    void setTabChain(const QList<QWidget*>& controls);

    // Off for a screen whose Enter does the work of its field (a search field searches).
    void setEnterMovesFocus(bool moves) { m_enterMovesFocus = moves; }

    // Runs once, on the first show, after the screen is placed.
    virtual void firstShown() {}

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The enabled, visible control whose caption underlines the letter of Alt+letter; null for
    // any other key.
    QWidget* accessKeyControl(const QKeyEvent* key) const;

    Placement m_placement;
    bool m_enterMovesFocus = true;
    bool m_placed = false;
};
