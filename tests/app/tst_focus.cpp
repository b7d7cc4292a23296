#include "FocusMover.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

// A screen of six fields f0..f5 in tab order, with a label between f2 and f3 and a button last.
class Screen : public QWidget {
public:
    Screen()
    {
        auto* layout = new QVBoxLayout(this);
        for (int i = 0; i < 6; ++i) {
            auto* field = new QLineEdit(this);
            field->setObjectName(QStringLiteral("f%1").arg(i));
            layout->addWidget(field);
            fields.append(field);
            if (i == 2)
                layout->addWidget(new QLabel(QStringLiteral("ラベル"), this));
        }
        button = new QPushButton(QStringLiteral("登録"), this);
        button->setObjectName(QStringLiteral("button"));
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    QList<QLineEdit*> fields;
    QPushButton* button;
};

class TestFocus : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void moves_data();
    void moves();
    void enterKeys_data();
    void enterKeys();
    void enterOnAButtonMovesOn();
    void singleFieldStays();

private:
    std::unique_ptr<Screen> m_screen;
};

void TestFocus::init()
{
    m_screen = std::make_unique<Screen>();
    new EnterKeyNavigation(m_screen.get());
    m_screen->show();
    QApplication::setActiveWindow(m_screen.get());
    QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
}

void TestFocus::cleanup()
{
    m_screen.reset();
}

void TestFocus::moves_data()
{
    QTest::addColumn<QString>("start"); // "" for no field with the focus
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("unavailable"); // a field hidden, disabled or without tab stop
    QTest::addColumn<QString>("expected");

    QTest::newRow("forward") << "f1" << true << ""
                             << "f2";
    QTest::newRow("past the label") << "f2" << true << ""
                                    << "f3";
    QTest::newRow("wrap to the first") << "f5" << true << ""
                                       << "f0";
    QTest::newRow("backward") << "f3" << false << ""
                              << "f2";
    QTest::newRow("wrap to the last") << "f0" << false << ""
                                      << "f5";
    QTest::newRow("hidden field skipped") << "f1" << true << "hide f2"
                                          << "f3";
    QTest::newRow("disabled field skipped") << "f3" << false << "disable f2"
                                            << "f1";
    QTest::newRow("no tab stop skipped") << "f4" << true << "notab f5"
                                         << "f0";
    QTest::newRow("no focus: forward takes the first") << "" << true << ""
                                                       << "f0";
    QTest::newRow("no focus: backward takes the last") << "" << false << ""
                                                       << "f5";
}

void TestFocus::moves()
{
    QFETCH(QString, start);
    QFETCH(bool, forward);
    QFETCH(QString, unavailable);
    QFETCH(QString, expected);

    if (!unavailable.isEmpty()) {
        auto* field = m_screen->findChild<QLineEdit*>(unavailable.section(u' ', 1));
        const QString how = unavailable.section(u' ', 0, 0);
        if (how == "hide")
            field->hide();
        else if (how == "disable")
            field->setEnabled(false);
        else
            field->setFocusPolicy(Qt::ClickFocus);
    }
    if (!start.isEmpty())
        m_screen->findChild<QLineEdit*>(start)->setFocus();
    else if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    MoveFocus(m_screen.get(), forward);
    QVERIFY(QApplication::focusWidget());
    QCOMPARE(QApplication::focusWidget()->objectName(), expected);
}

void TestFocus::enterKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier) << "f4";
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << "f4";
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier) << "f2";
}

void TestFocus::enterKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);
    m_screen->fields[3]->setFocus();
    QTest::keyClick(m_screen->fields[3], Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QApplication::focusWidget()->objectName(), expected);
    QVERIFY(m_screen->fields[3]->text().isEmpty());
}

void TestFocus::enterOnAButtonMovesOn()
{
    m_screen->button->setFocusPolicy(Qt::StrongFocus);
    m_screen->button->setFocus();
    QSignalSpy clicked(m_screen->button, &QPushButton::clicked);
    QTest::keyClick(m_screen->button, Qt::Key_Return);
    QVERIFY(QApplication::focusWidget() != m_screen->button);
    m_screen->button->setFocus();
    QTest::keyClick(m_screen->button, Qt::Key_Return, Qt::ShiftModifier);
    QVERIFY(QApplication::focusWidget() != m_screen->button);
    QCOMPARE(clicked.count(), 0);
    m_screen->button->setFocus();
    QTest::keyClick(m_screen->button, Qt::Key_Space);
    QCOMPARE(clicked.count(), 1);
}

void TestFocus::singleFieldStays()
{
    for (int i = 1; i < 6; ++i)
        m_screen->fields[i]->setEnabled(false);
    m_screen->fields[0]->setFocus();
    NextFocus(m_screen.get());
    QCOMPARE(QApplication::focusWidget(), m_screen->fields[0]);
    PrevFocus(m_screen.get());
    QCOMPARE(QApplication::focusWidget(), m_screen->fields[0]);
}

QTEST_MAIN(TestFocus)
#include "tst_focus.moc"
