// Voice comments end to end: a private PulseAudio server with a null source as the
// microphone and a null sink as the speaker, the recording joined with a capture and sent
// to a real FTP server or saved, and the player window, in this process and in the
// program started with "-o".

#include "../harness/pagedriver.h"
#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "../upload/uploadtestsupport.h"

#include "app/audioimagefile.h"
#include "app/audioimageplayer.h"
#include "app/hookkeybord.h"
#include "app/playbackpcm.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "settings/constants.h"

#include <QGuiApplication>
#include <QLocalSocket>
#include <QQuickItem>
#include <QtEndian>

using namespace UploadTest;

namespace {

constexpr int bytesPerSecond = 48000 * 2;

class PulseServer
{
public:
    // Listens on a socket in folder; PULSE_SERVER points this process and its children there.
    bool start(const QString &folder)
    {
        const QString socket = folder + QStringLiteral("/pulse.socket");
        endWithParent(m_process);
        m_process.setStandardOutputFile(folder + QStringLiteral("/pulse.log"));
        m_process.setStandardErrorFile(folder + QStringLiteral("/pulse.log"), QIODevice::Append);
        m_process.start(QStringLiteral("pulseaudio"),
                        {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "--use-pid-file=no",
                         "--realtime=no", "--high-priority=no", "--log-target=stderr",
                         "--load=module-null-sink sink_name=speaker rate=48000 channels=1",
                         "--load=module-null-source source_name=microphone rate=48000 channels=1",
                         "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket});
        qputenv("PULSE_SERVER", "unix:" + socket.toUtf8());
        return QTest::qWaitFor([&] {
            QLocalSocket probe;
            probe.connectToServer(socket);
            return m_process.state() == QProcess::NotRunning || probe.waitForConnected(200);
        }, 15000) && m_process.state() != QProcess::NotRunning;
    }
    ~PulseServer() { stopProcess(m_process); }

private:
    QProcess m_process;
};

// What the speaker plays, as another program records it from the speaker's monitor.
class Speaker
{
public:
    // True once the recorder delivers: listening before a sound plays.
    bool listen()
    {
        endWithParent(m_recorder);
        m_recorder.start("parec", {"-d", "speaker.monitor", "--raw", "--format=s16le", "--rate=48000",
                                   "--channels=1", "--latency-msec=20"});
        return m_recorder.waitForReadyRead(30000);
    }
    ~Speaker() { stopProcess(m_recorder); }

    // How many samples of that value have been heard so far.
    qsizetype heard(qint16 value)
    {
        m_heard += m_recorder.readAllStandardOutput();
        qsizetype count = 0;
        for (qsizetype at = 0; at + 1 < m_heard.size(); at += 2)
            count += qFromLittleEndian<qint16>(m_heard.constData() + at) == value;
        return count;
    }

private:
    QProcess m_recorder;
    QByteArray m_heard;
};

// Samples of one value, at 48000 a second.
QByteArray steadySound(qsizetype samples, qint16 value)
{
    QByteArray sound(samples * 2, Qt::Uninitialized);
    for (qsizetype at = 0; at < sound.size(); at += 2)
        qToLittleEndian<qint16>(value, sound.data() + at);
    return sound;
}

double seconds(const QByteArray &pcm)
{
    return double(pcm.size()) / bytesPerSecond;
}

} // namespace

class VoiceCommentTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    PulseServer m_pulse;
    FtpServer m_server;
    QString m_dialogAnswer;

    QString writeVoiceComment(const QString &name, const QByteArray &audio)
    {
        AudioImageFile file;
        file.setFileName(m_scratch.filePath(name));
        return file.write(pngBytes(patternPicture()), audio) ? file.fileName() : QString();
    }

    QStringList uploaded(const QString &pattern) const
    {
        return QDir(m_server.root()).entryList({pattern}, QDir::Files, QDir::Name);
    }

    // A recording of two seconds or more waits in the audio folder; one is made when none
    // does. Two seconds of sound, however long a loaded machine takes to deliver them.
    static bool recordingWaits()
    {
        Core *core = Core::instance();
        if (core->isHaveAudioFile())
            return true;
        core->recordAudio();
        return QTest::qWaitFor([core] { return QFileInfo(core->getAudioFile()).size() >= 44 + 2 * bytesPerSecond; },
                               30000);
    }

    // The sound of the waiting recording, as a voice comment carries it.
    static QByteArray recordedSound()
    {
        QByteArray sound;
        QString error;
        return playbackPcmFromWav(readFile(Core::instance()->getAudioFile()), &sound, &error) ? sound : QByteArray();
    }

    AudioImagePlayer *openPlayer(const QString &file)
    {
        Core::instance()->openAudioImage(file);
        AudioImagePlayer *player = ShellWindows::shown<AudioImagePlayer>().value(0);
        return player && QTest::qWaitForWindowExposed(player) ? player : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_pulse.start(m_scratch.path()), "pulseaudio does not start (scripts/install-deps.sh installs it)");
        QVERIFY(m_server.start(m_scratch.filePath("ftproot")));
        setValues({{SettingKeys::token, QStringLiteral("voice-token")}, {SettingKeys::qualityImage, 2}});
        m_server.useForUploads(QString(), "https://files.example");
        Core::setSaveFileDialog([this](const QString &, const QString &, const QString &) { return m_dialogAnswer; });
    }

    // Also: the audio folder is made when it is missing, and the file is read only after
    // the recorder has finished it.
    void upload_withRecording_sendsTheCaptureAndTwoSecondsOfSound()
    {
        Core *core = Core::instance();
        QDir(m_audioTempDir).removeRecursively();
        QVERIFY(core->isCanRecordAudio());
        QVERIFY(recordingWaits());
        core->screenUpload(0, false, patternPicture());
        QCOMPARE(QDir(m_pathSettings + "unsent").entryList({"*.zia"}).size(), 1); // what went to the upload waits
        QTRY_COMPARE_WITH_TIMEOUT(uploaded("*.zia").size(), 1, 15000);
        const QString remote = m_server.root() + "/" + uploaded("*.zia").first();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(remote).size() > 2 * bytesPerSecond, 15000);
        AudioImageFile voice;
        voice.setFileName(remote);
        QTRY_VERIFY_WITH_TIMEOUT(voice.readAll(), 5000);
        QCOMPARE(voice.imageData(), readFile(core->lastCaptureFile()));
        const QByteArray sound = voice.audioData();
        // The stopped recording's header gives its real sizes.
        const QByteArray wav = readFile(core->getAudioFile());
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 4), quint32(wav.size() - 8));
        QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(wav.size() - 44));
        QCOMPARE(sound, recordedSound());
        QVERIFY2(seconds(sound) >= 2.0, qPrintable(QString::number(seconds(sound))));
        QCOMPARE(sound.size() % 2, 0);
    }

    // The recording stays for every delivery of the same capture.
    void save_withRecording_replacesTheChosenFileWithTheVoiceComment()
    {
        QVERIFY(recordingWaits());
        m_dialogAnswer = m_scratch.filePath("saved/comment");
        QVERIFY(writeFile(m_dialogAnswer + ".zia", QByteArray(5 * bytesPerSecond, 'x')));
        Core::instance()->screenSaveToDisk(patternPicture());
        AudioImageFile voice;
        voice.setFileName(m_dialogAnswer + ".zia");
        QVERIFY2(voice.readAll(), qPrintable(voice.errorString()));
        QCOMPARE(voice.audioData(), recordedSound());
        const QImage picture = QImage::fromData(voice.imageData(), "JPG");
        QCOMPARE(picture.size(), patternPicture().size());
    }

    void quickCapture_leavesAnEarlierRecordingOut()
    {
        QVERIFY(recordingWaits());
        const int comments = uploaded("*.zia").size();
        Core::instance()->screenUpload(0, true, patternPicture());
        const QString capture = QFileInfo(Core::instance()->lastCaptureFile()).fileName();
        QTRY_VERIFY_WITH_TIMEOUT(uploaded("*.png").contains(capture), 15000);
        QCOMPARE(uploaded("*.zia").size(), comments);
    }

    void stop_whenNothingCanBeWritten_namesNoFile()
    {
        const QString moved = m_scratch.filePath("moved-tmp");
        QVERIFY(QDir().rename(m_tempDir, moved));
        const QString file = Core::instance()->stopRecordAudio();
        QVERIFY(QDir().rename(moved, m_tempDir));
        QCOMPARE(file, QString());
    }

    // The recording stops where the disk stopped taking it, whole, and the user is told.
    void recording_whenTheDiskFills_stopsAndIsTold()
    {
        ShellWindows::closeAll();
        Core *core = Core::instance();
        core->clearAudioFile();
        core->recordAudio();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(core->getAudioFile()).size() > 44, 30000);
        const QString recording = core->getAudioFile();
        {
            const FileSizeLimit limit(QFileInfo(recording).size() + bytesPerSecond / 4);
            QTRY_COMPARE_WITH_TIMEOUT(ShellWindows::shownErrorTexts(),
                                      QStringList{"Can't record the voice comment: File too large. The recording "
                                                  "stopped; the comment keeps the sound recorded before."},
                                      30000);
        }
        const QByteArray wav = readFile(recording);
        QCOMPARE(qFromLittleEndian<quint32>(wav.constData() + 40), quint32(wav.size() - 44));
        ShellWindows::closeAll();
        core->clearAudioFile();
    }

    // A capture hotkey pressed while the overlay is open starts no capture: the recording
    // made for the open capture goes on and stays.
    void hotkey_duringACapture_leavesItsRecordingAlone()
    {
        Core *core = Core::instance();
        core->screen(false, false);
        QVERIFY(core->surfaceWidget()->isCapturing());
        core->recordAudio();
        const QString recording = core->getAudioFile();
        QVERIFY(!recording.isEmpty());
        emit HookKeybord::m_instance->fragmentScreenActivated();
        QVERIFY(QFile::exists(recording));
        const qint64 size = QFileInfo(recording).size();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(recording).size() > size, 30000); // still recording
        core->deleteSurfaceScreen();
        core->clearAudioFile();
    }

    // A recorder that ended before its first sample may leave a bare header with its format
    // unset: the capture is saved as a picture, and the user told.
    void save_withSoundlessRecording_savesThePicture()
    {
        ShellWindows::closeAll();
        Core *core = Core::instance();
        core->clearAudioFile();
        const QByteArray bareHeader = QByteArray::fromHex("52494646 2400ff7f 57415645 666d7420 10000000"
                                                          "00000000 00000000 00000000 00000000"
                                                          "64617461 0000ff7f");
        QVERIFY(writeFile(m_audioTempDir + "/1.wav", bareHeader));
        m_dialogAnswer = m_scratch.filePath("saved/soundless");
        QVERIFY(QDir().mkpath(m_scratch.filePath("saved")));
        core->screenSaveToDisk(patternPicture());
        QCOMPARE(ShellWindows::shownErrorTexts(),
                 QStringList{"The voice comment holds no sound: the capture goes without it"});
        QCOMPARE(rgb(QImage(m_dialogAnswer + ".png")), rgb(patternPicture()));
        ShellWindows::closeAll();
    }

    // The comment's last half sample for sample reaches the speaker. (Its first samples
    // may be missed by the speaker's monitor, which does not replay what a new stream is
    // mixed over.)
    void player_showsThePictureAndPlaysTheComment()
    {
        const QString file = writeVoiceComment("second.zia", steadySound(24000, 1000) + steadySound(24000, 2000));
        Speaker speaker;
        QVERIFY(speaker.listen());
        AudioImagePlayer *player = openPlayer(file);
        QVERIFY(player);
        QTRY_COMPARE(PageDriver::named(player, "picture")->property("implicitWidth").toInt(), 320);
        QCOMPARE(PageDriver::named(player, "length")->property("text").toString(), "0:01");
        QQuickItem *button = PageDriver::named(player, "playButton");
        QCOMPARE(button->property("text").toString(), "Play");
        QVERIFY(PageDriver::click(player, button));
        QTRY_COMPARE_WITH_TIMEOUT(button->property("text").toString(), "Stop", 30000);
        QTRY_COMPARE_WITH_TIMEOUT(button->property("text").toString(), "Play", 30000);
        QTRY_COMPARE_WITH_TIMEOUT(speaker.heard(2000), qsizetype(24000), 30000);
        player->close();
    }

    // A stop made on the sink from this thread would touch its timers across threads; a
    // play right after the stop plays again; a window closed during playback must not take
    // the playing thread down with it.
    void stop_fromTheGuiThread_reachesTheSinkInItsThread()
    {
        Speaker speaker;
        QVERIFY(speaker.listen());
        AudioImagePlayer *player = openPlayer(writeVoiceComment("long.zia", steadySound(60 * 48000, 1000)));
        QVERIFY(player);
        QTest::failOnWarning(QRegularExpression("thread", QRegularExpression::CaseInsensitiveOption));
        player->playAudio();
        QTRY_VERIFY_WITH_TIMEOUT(speaker.heard(1000) > 0, 30000); // the sink plays
        player->stopAudio();
        QTRY_VERIFY_WITH_TIMEOUT(!player->isPlay(), 30000); // long before the minute has played
        player->playAudio();
        QTRY_VERIFY_WITH_TIMEOUT(player->isPlay(), 30000);
        QPointer<AudioImagePlayer> closing = player;
        player->close();
        QTRY_VERIFY(closing.isNull());
    }

    void program_dashO_opensThePlayerWithTheFilesSound()
    {
        const QString file = writeVoiceComment("two seconds.zia", QByteArray(2 * bytesPerSecond, '\0'));
        QProcess program;
        endWithParent(program);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_scratch.filePath("program-home"));
        program.setProcessEnvironment(environment);
        program.start(MAVU_PROGRAM, {file, "-o"});
        QVERIFY(program.waitForStarted());
        // That program's window, not one of this process.
        const QStringList search = {"search", "--all", "--onlyvisible", "--pid", QString::number(program.processId()),
                                    "--name", "Mavu - voice comment"};
        const bool shown = QTest::qWaitFor([&] { return xdotool(search); }, 60000);
        stopProcess(program);
        const QString log = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(shown, qPrintable(log));
        QVERIFY2(log.contains(QRegularExpression("audio size =\\s+192000\\b")), qPrintable(log));
    }
};

QTEST_MAIN(VoiceCommentTest)
#include "tst_voicecomment.moc"
