// The upload window's rows follow real FTP uploads to a throttled server on loopback: a
// row per running job whose bar fills to the end, and "Cancel", which stops a slow upload,
// takes its row away, leaves nothing on the server and is not reported as complete.

#include "../harness/pagedriver.h"
#include "uploadtestsupport.h"
#include "windows/lastuploadwidget_win.h"
#include "windows/uploadwidget_win.h"
#include <QLoggingCategory>

using namespace UploadTest;

namespace {

// Keeps the fullest a progress bar has been, at every change of its value.
class BarWatcher : public QObject
{
    Q_OBJECT
public:
    explicit BarWatcher(QQuickItem *bar)
        : QObject(bar)
        , m_bar(bar)
    {
        const QMetaObject *type = bar->metaObject();
        const QMetaMethod notify = type->property(type->indexOfProperty("value")).notifySignal();
        connect(bar, notify, this, metaObject()->method(metaObject()->indexOfSlot("sample()")));
    }

    double fullest = 0;

public slots:
    void sample()
    {
        const double maximum = m_bar->property("maximum").toDouble();
        if (maximum > 0)
            fullest = qMax(fullest, m_bar->property("value").toDouble() / maximum);
    }

private:
    QQuickItem *m_bar;
};

} // namespace

class UploadPageTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;

    QString remoteFolder() const { return m_server.root() + QStringLiteral("/shots"); }
    UploadWidget *window() { return Core::instance()->uploadWidget(); }
    int rowCount() { return PageDriver::named(window(), "uploadList")->property("count").toInt(); }
    QQuickItem *firstBar() { return PageDriver::named(window(), "uploadProgress"); }

    void startUpload(const QString &name, qint64 size)
    {
        Core::instance()->uploadData({makeFile(m_scratch.filePath(name), size)});
        QTRY_COMPARE_WITH_TIMEOUT(rowCount(), 1, 10000);
        QVERIFY(window()->isVisible());
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY(m_server.start(m_scratch.filePath("ftproot"), 256 * 1024));
        QDir().mkpath(remoteFolder());
        setValues({{SettingKeys::token, "page-token"}, {SettingKeys::showUpload, 1}, {SettingKeys::showLastUpload, 0}});
        m_server.useForUploads("shots", "https://files.example/shots");
    }

    void row_followsTheUploadToItsEnd()
    {
        startUpload(QStringLiteral("whole.bin"), 600 * 1024);
        BarWatcher watcher(firstBar());
        QTRY_COMPARE_WITH_TIMEOUT(rowCount(), 0, 30000);
        QCOMPARE(watcher.fullest, 1.0);
        QVERIFY(sameBytes(m_scratch.filePath("whole.bin"), remoteFolder() + QStringLiteral("/whole.bin")));
    }

    void cancel_stopsASlowUploadAndLeavesNothingOnTheServer()
    {
        QFile::remove(remoteFolder() + QStringLiteral("/whole.bin"));
        startUpload(QStringLiteral("slow.bin"), 4 * 1024 * 1024);
        QTRY_VERIFY_WITH_TIMEOUT(firstBar()->property("value").toDouble() > 0, 10000);
        QVERIFY(PageDriver::click(window(), "cancelButton"));
        QTRY_COMPARE_WITH_TIMEOUT(rowCount(), 0, 10000);
        QVERIFY(!window()->isVisible());
        QTest::qWait(1500); // the server would have had the time to take a rest of the file
        QCOMPARE(QDir(remoteFolder()).entryList(QDir::Files), QStringList());
    }

    void cancel_isNotReportedAsComplete()
    {
        setValues({{SettingKeys::showLastUpload, 1}});
        startUpload(QStringLiteral("cancelled.bin"), 4 * 1024 * 1024);
        QVERIFY(PageDriver::click(window(), "cancelButton"));
        QTRY_COMPARE_WITH_TIMEOUT(rowCount(), 0, 10000);
        QVERIFY(!Core::instance()->lastUploadWidget()->isVisible());
        setValues({{SettingKeys::showLastUpload, 0}});
    }
};

QTEST_MAIN(UploadPageTest)
#include "tst_uploadpage.moc"
