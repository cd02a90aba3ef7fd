// The sign-in page against the service's stand-in: what the user sees when a password is
// refused or the service cannot be reached, and what the proxy form stores. Nothing here
// may leave a token behind.

#include "../service/standin.h"
#include "core.h"
#include "network/autorization.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/autorizationwidget_rest.h"

#include <QDesktopServices>
#include <QQuickItem>
#include <QTest>

class SignInPageTest : public QObject
{
    Q_OBJECT

    ServiceStandIn m_service;
    QList<QUrl> m_opened;

    AutorizationWidget *window() { return Core::instance()->autorizationWidget(); }
    QPoint centredPosition()
    {
        const QRect area = window()->screen()->availableGeometry();
        return {area.x() + area.width() / 2 - window()->width() / 2, area.y() + area.height() / 2 - window()->height() / 2};
    }
    QQuickItem *item(const char *name) { return window()->rootObject()->findChild<QQuickItem *>(QLatin1String(name)); }
    bool shown(const char *name) { return item(name) && item(name)->isVisible(); }
    QString text(const char *name, const char *property) { return item(name)->property(property).toString(); }
    QRectF rect(const char *name) { return item(name) ? item(name)->mapRectToScene(item(name)->boundingRect()) : QRectF(); }

    void click(const char *name)
    {
        QQuickItem *target = item(name);
        const QPointF centre = target->mapToScene(QPointF(target->width() / 2, target->height() / 2));
        QTest::mouseClick(window(), Qt::LeftButton, {}, centre.toPoint());
    }

    void type(const char *field, const QString &text)
    {
        item(field)->setProperty("text", QString());
        QMetaObject::invokeMethod(item(field), "setFocus");
        for (const QChar character : text)
            QTest::keyClick(window(), character.toLatin1());
    }

    void submit(const char *field, const QString &text)
    {
        type(field, text);
        QTest::keyClick(window(), Qt::Key_Return);
    }

public slots:
    void recordUrl(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_service.start(), "stand-in did not start");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordUrl");
        Setting::instance()->setValue(SettingKeys::token, QString());
        Core::instance()->checkAutorization();
        window()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(window()));
    }

    void init()
    {
        Setting::instance()->setValue(SettingKeys::useProxy, 0);
        Core::instance()->account()->resetAutorization();
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    // The page takes the size of the e-mail step as the window opens: the first opening
    // centres it as every later one does.
    void firstOpening_centresTheWindowAtItsSize()
    {
        QCOMPARE(window()->position(), centredPosition());
    }

    void eachStep_hasNextInsideThePanel_andLabelsClearOfTheFieldAbove_data()
    {
        QTest::addColumn<int>("step");
        QTest::newRow("e-mail") << int(Autorization::NoneAuth);
        QTest::newRow("password") << int(Autorization::CheckPassword);
        QTest::newRow("sign-up") << int(Autorization::CheckRegistration);
    }

    void eachStep_hasNextInsideThePanel_andLabelsClearOfTheFieldAbove()
    {
        QFETCH(int, step);
        Core::instance()->account()->setStatusAutorization(Autorization::StatusAutorization(step));
        QVERIFY(rect("nextButton").bottom() + 10 <= rect("signInPanel").bottom());
        if (shown("passwordLabel"))
            QVERIFY(rect("passwordLabel").top() >= rect("emailInput").bottom() + 10);
        if (shown("confirmLabel"))
            QVERIFY(rect("confirmLabel").top() >= rect("passwordInput").bottom() + 10);
    }

    // Markup in the name from the service is shown as written: nothing is fetched or drawn.
    void welcome_showsTheNameAsPlainText()
    {
        Setting::instance()->setValue(SettingKeys::userName, QStringLiteral("<img src=\"file:///nowhere.png\" height=\"300\">Anna"));
        emit Core::instance()->account()->registrationFinished();
        QVERIFY(shown("welcomeText"));
        QVERIFY(item("welcomeText")->height() < 100);
        // No language chosen: the texts are the English source texts, and so is the picture's.
        QVERIFY(text("platformPicture", "source").endsWith("_en.png"));
        // The wider welcome view stays centred.
        QTRY_COMPARE(window()->size(), window()->rootObject()->size().toSize());
        QCOMPARE(window()->position(), centredPosition());
    }

    // An address with "+" survives the way to the recovery page only when encoded.
    void wrongPassword_showsTheErrorAndKeepsNoToken()
    {
        m_service.call("POST", QStringLiteral("/api/v1/register"), "email=first%2Blast%40example.com&password=right");
        submit("emailInput", QStringLiteral("first+last@example.com"));
        QTRY_VERIFY(shown("passwordInput"));
        QCOMPARE(text("nextButton", "text"), QStringLiteral("Enter to mavu"));
        submit("passwordInput", QStringLiteral("wrong"));
        QTRY_COMPARE(text("passwordLabel", "error"), QStringLiteral("Wrong password"));
        QVERIFY(item("passwordLabel")->findChild<QQuickItem *>(QStringLiteral("errorText"))->isVisible());
        QVERIFY(Autorization::token().isEmpty());

        click("recoveryLink");
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().toString(QUrl::FullyEncoded),
                 m_service.url(QStringLiteral("/resetting/request?email=first%2Blast%40example.com")));
    }

    void registration_withAnotherConfirmation_isRefused()
    {
        submit("emailInput", QStringLiteral("newcomer@example.com"));
        QTRY_VERIFY(shown("confirmInput"));
        type("passwordInput", QStringLiteral("secret"));
        submit("confirmInput", QStringLiteral("secreT"));
        QTRY_COMPARE(text("confirmLabel", "error"), QStringLiteral("Passwords do not match"));
        QVERIFY(Autorization::token().isEmpty());
    }

    // Back stores the form as Next does and uses the proxy it names.
    void proxyForm_showsTheStoredProxy_andBackStoresAndUsesIt()
    {
        const QStringList keys{SettingKeys::proxyHost, SettingKeys::proxyPort, SettingKeys::proxyUser, SettingKeys::proxyPassword};
        QStringList proxy{"proxy.example", "3128", "proxy-user", "proxy-pass"};
        for (int i = 0; i < keys.size(); ++i)
            Setting::instance()->setValue(keys.at(i), proxy.at(i));
        m_service.configure({{"down", true}});
        submit("emailInput", QStringLiteral("user@example.com"));
        QTRY_VERIFY(shown("proxyForm"));
        m_service.configure({{"down", false}});
        QCOMPARE((QStringList{text("proxyHost", "text"), text("proxyPort", "text"), text("proxyUser", "text"),
                              text("proxyPassword", "text")}), proxy);
        proxy[1] = QStringLiteral("8080");
        type("proxyPort", proxy[1]);
        click("backButton");
        QVERIFY(shown("signInForm"));
        for (int i = 0; i < keys.size(); ++i)
            QCOMPARE(Setting::instance()->getValue(keys.at(i)).toString(), proxy.at(i));
        QCOMPARE(Setting::instance()->getValue(SettingKeys::useProxy).toBool(), true);
    }

    // Last: a stored proxy that points nowhere would stop the requests of later cases.
    void serviceDown_showsTheProxyForm_whoseNextNeedsAHost_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<bool>("useProxy");
        QTest::newRow("port without host: proxy stays off") << QString() << false;
        QTest::newRow("host and port: proxy on") << QStringLiteral("127.0.0.1") << true;
    }

    void serviceDown_showsTheProxyForm_whoseNextNeedsAHost()
    {
        QFETCH(QString, host);
        QFETCH(bool, useProxy);
        m_service.configure({{"down", true}});
        submit("emailInput", QStringLiteral("user@example.com"));
        QTRY_VERIFY(shown("proxyForm"));
        QVERIFY(!shown("signInForm"));
        QCOMPARE(text("proxyError", "text"), QStringLiteral("Internet connect not found"));
        QVERIFY(Autorization::token().isEmpty());

        m_service.configure({{"down", false}});
        type("proxyHost", host);
        type("proxyPort", QStringLiteral("3128"));
        click("nextButton");
        QCOMPARE(Setting::instance()->getValue(SettingKeys::useProxy).toBool(), useProxy);
        QCOMPARE(Setting::instance()->getValue(SettingKeys::proxyHost).toString(), host);
        QCOMPARE(Setting::instance()->getValue(SettingKeys::proxyPort).toString(), QStringLiteral("3128"));
        QVERIFY(shown("signInForm") && !shown("proxyForm"));
        QVERIFY(Autorization::token().isEmpty());
    }
};

QTEST_MAIN(SignInPageTest)
#include "tst_signinpage.moc"
