// Speed of the settings store: reads (always from memory), writes, encryption.
// Run with a throw-away HOME, e.g.  HOME=$(mktemp -d) QT_QPA_PLATFORM=offscreen ./bench_settings

#include "settings/crypt.h"
#include "settings/setting.h"

#include <QTest>

class SettingsBenchmark : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        Setting::instance()->setValue(QStringLiteral("token"), QStringLiteral("bench-token"));
    }

    void getValue_cached()
    {
        Setting *settings = Setting::instance();
        settings->getValue(QStringLiteral("widthColorLine"));
        QBENCHMARK {
            settings->getValue(QStringLiteral("widthColorLine"));
        }
    }

    void getValue_missingKey()
    {
        Setting *settings = Setting::instance();
        QBENCHMARK {
            // A key without a row is answered from memory too: no read asks the database thread.
            settings->getValue(QStringLiteral("bench_missing_key"));
        }
    }

    void setValue_single()
    {
        Setting *settings = Setting::instance();
        int counter = 0;
        QBENCHMARK {
            settings->setValue(QStringLiteral("bench_write"), ++counter);
        }
        settings->sync();
    }

    // Until every write is on disk.
    void tenThousandWritesThenSync()
    {
        Setting *settings = Setting::instance();
        QBENCHMARK_ONCE {
            for (int i = 0; i < 10000; ++i)
                settings->setValue(QStringLiteral("bench_bulk_%1").arg(i % 100), i);
            settings->sync();
        }
    }

    void encrypt_shortText()
    {
        QBENCHMARK {
            encrypt(QStringLiteral("ftp-password"), QStringLiteral("bench-token"));
        }
    }

    void decrypt_shortText()
    {
        const QString stored = encrypt(QStringLiteral("ftp-password"), QStringLiteral("bench-token"));
        QBENCHMARK {
            decrypt(stored, QStringLiteral("bench-token"));
        }
    }
};

QTEST_GUILESS_MAIN(SettingsBenchmark)
#include "bench_settings.moc"
