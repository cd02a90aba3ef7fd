// The player of a voice-comment file whose sizes are right but whose picture part is no
// picture: the user is told the file is damaged and gets no empty player.

#include "../harness/shellwindows.h"

#include "app/audioimagefile.h"
#include "app/audioimageplayer.h"
#include "core.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTest>

class VoicePlayerTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Core::instance();
    }

    void pictureThatIsNoPicture_isReportedAsDamage_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::newRow("a PNG signature and text") << QByteArray("\x89PNG\r\n\x1a\nnot a picture at all");
        QTest::newRow("nothing") << QByteArray();
    }

    void pictureThatIsNoPicture_isReportedAsDamage()
    {
        QFETCH(QByteArray, picture);
        AudioImageFile file;
        file.setFileName(m_scratch.filePath(QStringLiteral("%1.zia").arg(QTest::currentDataTag())));
        QVERIFY(file.write(picture, QByteArray(96000, '\0')));

        Core::instance()->openAudioImage(file.fileName());
        QTRY_COMPARE(ShellWindows::shownErrorTexts(),
                     QStringList{QStringLiteral("The voice comment %1 is damaged").arg(file.fileName())});
        QCOMPARE(ShellWindows::shown<AudioImagePlayer>().size(), 0);
        ShellWindows::closeAll();
    }
};

QTEST_MAIN(VoicePlayerTest)
#include "tst_voiceplayer.moc"
