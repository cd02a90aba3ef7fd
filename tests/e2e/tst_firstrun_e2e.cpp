// A newcomer's first run: the real program against the local service, on a fresh HOME
// with no token, from the tray icon through the sign-in page to a capture whose link
// opens the uploaded picture.

#include "../harness/files.h"
#include "../harness/patternwindow.h"
#include "../harness/xtools.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>

// Xlib last: its macros clash with Qt's names.
#include "../harness/xwindows.h"

namespace {

// The mapped windows of the program, as the X server places them.
QList<QRect> programWindows()
{
    QList<QRect> windows;
    const QStringList ids = commandOutput(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--classname", "mavu"})
                                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &id : ids)
        windows.append(xGeometry(id.toULong()));
    return windows;
}

// Where the page of the given size is on the screen, or an empty rectangle while no
// window shows it. A page's frame adds a margin of 30 pixels only under a compositor.
QRect shownPage(const QSize &page)
{
    for (const QRect &window : programWindows()) {
        for (int margin : {0, 30}) {
            if (window.size() == page + QSize(2 * margin, 2 * margin))
                return window.adjusted(margin, margin, -margin, -margin);
        }
    }
    return QRect();
}

QPoint trayIcon()
{
    for (const QRect &window : programWindows()) {
        if (window.width() <= 32 && window.top() < 32)
            return window.center();
    }
    return QPoint();
}

// Read as another process would, waiting while the program writes: without a busy timeout a
// read that meets a write gets nothing.
QString storedToken()
{
    return commandOutput(QStringLiteral("sqlite3"), {"-cmd", ".timeout 10000", QDir::homePath() + "/.mavu/setting",
                                              "SELECT value FROM Settings WHERE name = 'token'"});
}

QByteArray fetch(const QString &url)
{
    QNetworkAccessManager network;
    QNetworkReply *reply = network.get(QNetworkRequest(QUrl(url)));
    QSignalSpy done(reply, &QNetworkReply::finished);
    done.wait(20000);
    const QByteArray body = reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    delete reply;
    return body;
}

QByteArray newestCapture()
{
    return readFile(QDir(QDir::homePath() + "/.mavu/tmp").entryInfoList(QDir::Files, QDir::Time).value(0).filePath());
}

// Page sizes of the windows on the way.
const QSize emailStep(430, 360);
const QSize passwordStep(430, 430);
const QSize welcomeView(640, 440);
const QSize uploadWithOneRow(240, 155 + 33);
const QSize lastUpload(241, 230);

} // namespace

class FirstRunTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    HttpsStandIn m_service;
    PatternWindow m_pattern;
    QProcess m_trayer;
    QProcess m_program;

    bool overlayShown() { return screenPixel(QPoint(5, 5)) != m_pattern.image.pixel(5, 5); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pattern.showExposed());
        QVERIFY(startTrayHost(m_trayer));
        const QString serviceDir = m_scratch.filePath("service");
        QVERIFY(m_service.start(MAVU_TEST_DIR "/../service/mavu_service.py", serviceDir));
        // The upload's row stays long enough to be seen.
        m_service.post(QStringLiteral("/_test/config"), {{"upload_delay", 2}});

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("MAVU_CA_FILE"), serviceDir + "/cert.pem");
        environment.insert(QStringLiteral("MAVU_SUPPORT_HOST"), m_service.host());
        m_program.setProcessEnvironment(environment);
        m_program.setProcessChannelMode(QProcess::MergedChannels);
        m_program.setStandardOutputFile(m_scratch.filePath("mavu.log"));
        endWithParent(m_program);
        m_program.start(MAVU_PROGRAM, {"-beta", m_service.host(), m_service.host()});
        QVERIFY(m_program.waitForStarted());
        // Without a token the program asks to sign in at once.
        QTRY_VERIFY_WITH_TIMEOUT(!shownPage(emailStep).isNull(), 60000);
        QVERIFY(storedToken().isEmpty());
    }

    void cleanupTestCase()
    {
        stopProcess(m_program);
        stopProcess(m_trayer);
    }

    void trayIconClick_opensTheLoginWindow()
    {
        const QRect page = shownPage(emailStep);
        QVERIFY(xdotoolClick(page.topLeft() + QPoint(page.width() - 18, 18))); // the frame's close button
        QTRY_VERIFY_WITH_TIMEOUT(shownPage(emailStep).isNull(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!trayIcon().isNull(), 10000);
        QVERIFY(xdotoolClick(trayIcon()));
        QTRY_VERIFY_WITH_TIMEOUT(!shownPage(emailStep).isNull(), 10000);
    }

    void typedEmailAndPassword_storeTheTokenAndWelcome()
    {
        const QRect page = shownPage(emailStep);
        QVERIFY(xdotoolClick(page.topLeft() + QPoint(100, 20))); // the window takes the keyboard
        QVERIFY(xdotool({"type", "--delay", "20", "user@example.com"}) && xdotool({"key", "Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(!shownPage(passwordStep).isNull(), 15000);
        QVERIFY(xdotool({"type", "--delay", "20", "secret"}) && xdotool({"key", "Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(storedToken().size() == 32, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!shownPage(welcomeView).isNull(), 15000);
    }

    void capture_showsTheUploadAndTheLinkOpensThePicture()
    {
        QTest::qWait(500);
        QVERIFY(xdotool({"key", "ctrl+Print"}));
        QTRY_VERIFY_WITH_TIMEOUT(overlayShown(), 20000);
        QVERIFY(xdotool({"mousemove", "100", "50", "mousedown", "1", "mousemove", "250", "150",
                         "mousemove", "400", "250", "mouseup", "1"}));
        QTest::qWait(300);
        QVERIFY(xdotool({"key", "ctrl+Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(!shownPage(uploadWithOneRow).isNull(), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(!shownPage(lastUpload).isNull(), 20000);

        // "Copy" of the last-upload window puts the link back on a clipboard we emptied.
        const QString link = QString::fromUtf8(xclipRead());
        QVERIFY2(link.startsWith(QStringLiteral("https://%1/f/").arg(m_service.host())), qPrintable(link));
        xclipWrite("emptied");
        QVERIFY(xdotoolClick(shownPage(lastUpload).topLeft() + QPoint(172, 129)));
        QTRY_COMPARE_WITH_TIMEOUT(QString::fromUtf8(xclipRead()), link, 10000);

        const QByteArray picture = fetch(link);
        QVERIFY(!picture.isEmpty());
        QCOMPARE(picture, newestCapture());
        QCOMPARE(QImage::fromData(picture).size(), QSize(300, 200));
    }

    // main() names the program and its version: each of its requests carries both.
    void requests_carryTheProgramsNameAndVersion()
    {
        const QJsonArray requests = m_service.state().value("requests").toArray();
        int fromTheProgram = 0;
        for (const QJsonValue &request : requests) {
            if (request["path"].toString().startsWith(QLatin1String("/f/")))
                continue; // the test's own look at the picture
            ++fromTheProgram;
            QCOMPARE(request["headers"]["User-Agent"].toString(), QStringLiteral("Mavu 3.1.51"));
        }
        QVERIFY(fromTheProgram >= 4); // sign-in, account, file record, bytes
    }

    void trayMenu_nowStartsACapture()
    {
        QVERIFY(!overlayShown());
        QVERIFY(xdotoolClick(trayIcon(), "3"));
        QTest::qWait(500);
        QVERIFY(xdotool({"key", "Down", "Return"})); // the first entry: "Capture fragment"
        QTRY_VERIFY_WITH_TIMEOUT(overlayShown(), 20000);
    }
};

QTEST_MAIN(FirstRunTest)
#include "tst_firstrun_e2e.moc"
