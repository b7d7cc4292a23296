#include "Common.h"
#include "Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// The real message box: its icon, its buttons in Qt's Japanese words, and the answer mapped back.
class TestMessages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(InstallJapaneseTranslation()); }
    void kinds_data();
    void kinds();
};

void TestMessages::kinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons"); // sorted
    QTest::addColumn<int>("result");

    const QStringList ok{"OK"};
    const QStringList save{"キャンセル", "保存", "変更を破棄"};
    QTest::newRow("error") << 1 << int(QMessageBox::Ok) << int(QMessageBox::Critical) << ok << 1;
    QTest::newRow("question, no") << 2 << int(QMessageBox::No) << int(QMessageBox::Information)
                                  << QStringList{"いいえ(&N)", "はい(&Y)"} << 7;
    QTest::newRow("save question, save")
        << 4 << int(QMessageBox::Save) << int(QMessageBox::Warning) << save << 6;
    QTest::newRow("save question, stay")
        << 4 << int(QMessageBox::Cancel) << int(QMessageBox::Warning) << save << 2;
    QTest::newRow("unknown kind: no box") << 5 << 0 << 0 << QStringList() << 0;
}

void TestMessages::kinds()
{
    QFETCH(int, kind);
    QFETCH(int, press);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QFETCH(int, result);

    QStringList shown;
    bool boxShown = false;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        boxShown = true;
        QCOMPARE(box->windowTitle(), QStringLiteral("ﾇﾋﾞﾗ"));
        QCOMPARE(box->text(), QStringLiteral("最終レコードです。"));
        QCOMPARE(int(box->icon()), icon);
        for (const QAbstractButton* button : box->buttons())
            shown << button->text();
        box->button(QMessageBox::StandardButton(press))->click();
    });
    QCOMPARE(ShowMsg(kind, QStringLiteral("最終レコードです。")), result);
    QCoreApplication::processEvents();
    shown.sort();
    QCOMPARE(shown, buttons);
    QCOMPARE(boxShown, !buttons.isEmpty());
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
