#include <QFile>
#include <QJSEngine>
#include <QTranslator>
#include <QTest>

// The script helpers of the pages, run in a bare script engine.
class UsefulScriptTest : public QObject
{
    Q_OBJECT

    QJSEngine engine;

    QJSValue call(const QString &expression)
    {
        const QJSValue result = engine.evaluate(expression);
        if (result.isError())
            qWarning() << result.toString();
        return result;
    }

private slots:
    void initTestCase()
    {
        engine.installExtensions(QJSEngine::TranslationExtension);
        QFile script(":/qml/qml/Components/useful.js");
        QVERIFY(script.open(QIODevice::ReadOnly));
        const QJSValue loaded = engine.evaluate(QString::fromUtf8(script.readAll()), script.fileName());
        QVERIFY2(!loaded.isError(), qPrintable(loaded.toString()));
    }

    void getKeyText_namesFunctionDigitLetterPrintAndEnterKeys()
    {
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_F1)).toString(), QStringLiteral("F1"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_F12)).toString(), QStringLiteral("F12"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_0)).toString(), QStringLiteral("0"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_9)).toString(), QStringLiteral("9"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_A)).toString(), QStringLiteral("A"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_Z)).toString(), QStringLiteral("Z"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_Print)).toString(), QStringLiteral("Print"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_Return)).toString(), QStringLiteral("Enter"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_Enter)).toString(), QStringLiteral("Enter"));
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_F13)).toString(), QString());
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_Shift)).toString(), QString());
        QCOMPARE(call(QString("getKeyText(%1)").arg(Qt::Key_Space)).toString(), QString());
    }

    void getHootKey_ordersShiftCtrlAlt()
    {
        const int ctrlShift = int(Qt::ControlModifier | Qt::ShiftModifier);
        QJSValue pair = call(QString("getHootKey({modifiers: %1, key: %2})").arg(ctrlShift).arg(Qt::Key_A));
        QVERIFY(pair.isArray());
        QCOMPARE(pair.property(0).toString(), QStringLiteral("Shift + Ctrl"));
        QCOMPARE(pair.property(1).toString(), QStringLiteral("A"));
        const int all = int(Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier);
        pair = call(QString("getHootKey({modifiers: %1, key: %2})").arg(all).arg(Qt::Key_Print));
        QCOMPARE(pair.property(0).toString(), QStringLiteral("Shift + Ctrl + Alt"));
        QCOMPARE(pair.property(1).toString(), QStringLiteral("Print"));
        pair = call(QString("getHootKey({modifiers: %1, key: %2})").arg(int(Qt::AltModifier)).arg(Qt::Key_Shift));
        QCOMPARE(pair.property(1).toString(), QString());
    }

    void getHootKey_emptyWithoutModifier()
    {
        const QJSValue none = call(QString("getHootKey({modifiers: 0, key: %1})").arg(Qt::Key_A));
        QVERIFY(none.isString());
        QCOMPARE(none.toString(), QString());
        const QJSValue keypad = call(QString("getHootKey({modifiers: %1, key: %2})").arg(int(Qt::KeypadModifier)).arg(Qt::Key_5));
        QCOMPARE(keypad.toString(), QString());
    }

    void sizeToString_kilobytesThenMegabytes()
    {
        QCOMPARE(call("sizeToString(0)").toString(), QStringLiteral("0.00 KB"));
        QCOMPARE(call("sizeToString(1536)").toString(), QStringLiteral("1.50 KB"));
        QCOMPARE(call("sizeToString(1048575, 0)").toString(), QStringLiteral("1024 KB"));
        QCOMPARE(call("sizeToString(1048576)").toString(), QStringLiteral("1.00 MB"));
        QCOMPARE(call("sizeToString(2147483648)").toString(), QStringLiteral("2048.00 MB"));
        QCOMPARE(call("sizeToString(3145728, 1)").toString(), QStringLiteral("3.0 MB"));
    }

    void sizeToStringDropbox_addsGigabytes()
    {
        QCOMPARE(call("sizeToStringDropbox(2147483648)").toString(), QStringLiteral("2.00 GB"));
        QCOMPARE(call("sizeToStringDropbox(1073741823)").toString(), QStringLiteral("1024.00 MB"));
        QCOMPARE(call("sizeToStringDropbox(1073741824, 0)").toString(), QStringLiteral("1 GB"));
        QCOMPARE(call("sizeToStringDropbox(2048)").toString(), QStringLiteral("2.00 KB"));
    }

    void sizeUnits_comeFromTheCatalogue()
    {
        QTranslator russian;
        QVERIFY(russian.load(":/translate/mavu.qm"));
        QCoreApplication::installTranslator(&russian);
        const QString text = call("sizeToStringDropbox(2147483648)").toString();
        QCoreApplication::removeTranslator(&russian);
        QCOMPARE(text, QStringLiteral("2.00 ГБ"));
    }

    void flag_readsStoredTextAsNumberOrBoolean()
    {
        for (const char *off : {"'0'", "'false'", "''", "0", "false", "undefined", "null", "' 0 '", "'FALSE'"})
            QVERIFY2(!call(QString("flag(%1)").arg(off)).toBool(), off);
        for (const char *on : {"'1'", "'true'", "1", "true", "'2'", "'TRUE'"})
            QVERIFY2(call(QString("flag(%1)").arg(on)).toBool(), on);
    }
};

QTEST_MAIN(UsefulScriptTest)
#include "tst_useful.moc"
