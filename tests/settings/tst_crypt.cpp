#include "settings/crypt.h"

#include <QProcess>
#include <QTest>

namespace {

// The same cipher through Python's cryptography package, an implementation of its own.
QString python(const QString &mode, const QString &passphrase, const QString &text)
{
    QProcess process;
    process.start(QStringLiteral("python3"),
                  {QStringLiteral(MAVU_TEST_DIR "/aesgcm.py"), mode, passphrase, text});
    process.waitForFinished(20000);
    return process.exitCode() == 0 ? QString::fromUtf8(process.readAllStandardOutput())
                                   : QStringLiteral("<python failed>");
}

QString flipBit(const QString &stored, int byte, int bit)
{
    QByteArray raw = QByteArray::fromBase64(stored.toLatin1());
    raw[byte] = char(raw.at(byte) ^ (1 << bit));
    return QString::fromLatin1(raw.toBase64());
}

} // namespace

class CryptTest : public QObject
{
    Q_OBJECT
private slots:
    void ourCiphertext_decryptsWithIndependentImplementation()
    {
        const QString text = QStringLiteral("pässwörd with ünïcode ✓");
        QCOMPARE(python("decrypt", "token-123", encrypt(text, "token-123")), text);
    }

    void independentCiphertext_decryptsWithOurs()
    {
        const QString stored = python("encrypt", "token-123", "ftp secret");
        QCOMPARE(decrypt(stored, "token-123"), QStringLiteral("ftp secret"));
    }

    void storedText_hasIvCiphertextAndTagLength()
    {
        const QString text = QStringLiteral("abcdé");
        const QByteArray raw = QByteArray::fromBase64(encrypt(text, "k").toLatin1());
        QCOMPARE(raw.size(), 28 + text.toUtf8().size());
    }

    void twoEncryptions_differAndBothDecrypt()
    {
        const QString first = encrypt("same", "k");
        const QString second = encrypt("same", "k");
        QVERIFY(first != second);
        QCOMPARE(decrypt(first, "k"), QStringLiteral("same"));
        QCOMPARE(decrypt(second, "k"), QStringLiteral("same"));
    }

    void wrongPassphrase_readsEmpty()
    {
        QCOMPARE(decrypt(encrypt("secret", "right"), "wrong"), QString());
    }

    void anyFlippedBit_readsEmpty_data()
    {
        QTest::addColumn<int>("byte");
        QTest::newRow("iv") << 0;
        QTest::newRow("ciphertext") << 13;
        QTest::newRow("tag") << 30;
    }

    void anyFlippedBit_readsEmpty()
    {
        QFETCH(int, byte);
        const QString stored = encrypt("secret", "k");
        for (int bit = 0; bit < 8; ++bit)
            QCOMPARE(decrypt(flipBit(stored, byte, bit), "k"), QString());
    }

    void emptyInputs_giveEmptyText()
    {
        QCOMPARE(encrypt("", "k"), QString());
        QCOMPARE(encrypt("text", ""), QString());
        QCOMPARE(decrypt("", "k"), QString());
        QCOMPARE(decrypt(encrypt("text", "k"), ""), QString());
    }

    void tooShortOrEmptyCiphertext_readsEmpty()
    {
        QCOMPARE(decrypt(QString::fromLatin1(QByteArray(27, 'a').toBase64()), "k"), QString());
        QCOMPARE(decrypt(QString::fromLatin1(QByteArray(28, 'a').toBase64()), "k"), QString());
        QCOMPARE(decrypt("!!!! not base64 at all ????", "k"), QString());
    }

    void key_isSha256OfPassphrase()
    {
        QCOMPARE(deriveKey("abc").toHex(),
                 QByteArray("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    }
};

QTEST_GUILESS_MAIN(CryptTest)
#include "tst_crypt.moc"
