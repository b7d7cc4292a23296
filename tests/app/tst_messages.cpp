#include "Common.h"
#include "Messages.h"

#include "MessageAnswerer.h"

#include <QApplication>
#include <QTest>

class TestMessages : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void kinds_data();
    void kinds();
    void otherKindsShowNothing_data();
    void otherKindsShowNothing();
};

void TestMessages::initTestCase()
{
    QVERIFY(InstallJapaneseTranslation());
}

void TestMessages::kinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("texts"); // Qt's own words, in its Japanese translation

    const int yesNo = QMessageBox::Yes | QMessageBox::No;
    const int save = QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    const QStringList ok{"OK"};
    const QStringList yesNoTexts{"はい(&Y)", "いいえ(&N)"};
    const QStringList saveTexts{"保存", "変更を破棄", "キャンセル"};
    QTest::newRow("error") << 1 << int(QMessageBox::Ok) << int(QMessageBox::Critical)
                           << int(QMessageBox::Ok) << 1 << ok;
    QTest::newRow("question, yes")
        << 2 << int(QMessageBox::Yes) << int(QMessageBox::Information) << yesNo << 6 << yesNoTexts;
    QTest::newRow("question, no") << 2 << int(QMessageBox::No) << int(QMessageBox::Information)
                                  << yesNo << 7 << yesNoTexts;
    QTest::newRow("information") << 3 << int(QMessageBox::Ok) << int(QMessageBox::Information)
                                 << int(QMessageBox::Ok) << 1 << ok;
    QTest::newRow("save question, save")
        << 4 << int(QMessageBox::Save) << int(QMessageBox::Warning) << save << 6 << saveTexts;
    QTest::newRow("save question, discard")
        << 4 << int(QMessageBox::Discard) << int(QMessageBox::Warning) << save << 7 << saveTexts;
    QTest::newRow("save question, stay")
        << 4 << int(QMessageBox::Cancel) << int(QMessageBox::Warning) << save << 2 << saveTexts;
}

void TestMessages::kinds()
{
    QFETCH(int, kind);
    QFETCH(int, answer);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, result);
    QFETCH(QStringList, texts);

    MessageAnswerer answerer({QMessageBox::StandardButton(answer)});
    QCOMPARE(ShowMsg(kind, QStringLiteral("最終レコードです。")), result);
    QCOMPARE(answerer.seen().size(), 1);
    const MessageAnswerer::Seen& box = answerer.seen().front();
    QCOMPARE(box.title, QStringLiteral("ﾇﾋﾞﾗ"));
    QCOMPARE(box.text, QStringLiteral("最終レコードです。"));
    QCOMPARE(int(box.icon), icon);
    QCOMPARE(int(box.buttons), buttons);
    QStringList shown = box.buttonTexts;
    shown.sort();
    texts.sort();
    QCOMPARE(shown, texts);
}

void TestMessages::otherKindsShowNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("0") << 0;
    QTest::newRow("5") << 5;
    QTest::newRow("-1") << -1;
}

void TestMessages::otherKindsShowNothing()
{
    QFETCH(int, kind);
    MessageAnswerer answerer;
    QCOMPARE(ShowMsg(kind, QStringLiteral("x")), 0);
    QTest::qWait(30);
    QVERIFY(answerer.seen().isEmpty());
}

QTEST_MAIN(TestMessages)
#include "tst_messages.moc"
