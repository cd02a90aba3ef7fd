// Voice comments: recorded while a capture is open, joined with the capture image into
// one voice-comment file, and opened again in the player window.

#include "core.h"

#include "app/audioimagefile.h"
#include "app/audioimageplayer.h"
#include "app/playbackpcm.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"

#include <QAudioDevice>
#include <QAudioInput>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QEventLoop>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QMediaFormat>
#include <QMediaRecorder>
#include <QUrl>

namespace {

// The media back end loses a recording that starts while its audio source is still
// starting (it then records nothing at all): the source gets this long first.
constexpr int sourceStartMsecs = 400;
// A recording that has taken no sound this long after its start is taken as lost.
constexpr int recordingStartMsecs = 1000;
constexpr int maxRecordingAttempts = 3;
constexpr int recorderStopMsecs = 5000;

// Waits with the events going on.
void waitFor(int msecs)
{
    QEventLoop loop;
    QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
    loop.exec();
}

QString stampedName(const QString &folder, const QString &extension)
{
    return folder + QLatin1Char('/') + QString::number(QDateTime::currentMSecsSinceEpoch()) + extension;
}

QFileInfoList recordings()
{
    return QDir(m_audioTempDir).entryInfoList({QStringLiteral("*.wav")}, QDir::Files, QDir::Time);
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool Core::isCanRecordAudio() const
{
    return !QMediaDevices::audioInputs().isEmpty();
}

void Core::setupAudioRecorder()
{
    if (m_captureSession)
        return;
    m_captureSession = new QMediaCaptureSession(this);
    m_audioInput = new QAudioInput(this);
    m_mediaRecorder = new QMediaRecorder(this);
    m_captureSession->setRecorder(m_mediaRecorder);
    QMediaFormat format(QMediaFormat::Wave);
    format.setAudioCodec(QMediaFormat::AudioCodec::Wave);
    m_mediaRecorder->setMediaFormat(format);
    m_mediaRecorder->setQuality(QMediaRecorder::HighQuality);
    connect(m_mediaRecorder, &QMediaRecorder::errorOccurred, this, [this](QMediaRecorder::Error, const QString &text) {
        showErrorWidget(tr("Can't record the voice comment: %1").arg(text));
    });
    m_recordingWatchdog.setSingleShot(true);
    m_recordingWatchdog.setInterval(recordingStartMsecs);
    connect(&m_recordingWatchdog, &QTimer::timeout, this, &Core::restartSilentRecording);
}

void Core::recordAudio()
{
    setupAudioRecorder();
    if (!QDir().mkpath(m_audioTempDir)) {
        showErrorWidget(tr("Can't create the folder %1").arg(m_audioTempDir));
        return;
    }
    if (m_mediaRecorder->recorderState() != QMediaRecorder::StoppedState) {
        m_mediaRecorder->record();
        return;
    }
    m_recordingAttempts = 1;
    startRecording();
}

// The microphone is attached only while a recording runs, so that it is free (and shown
// as unused by the desktop) between voice comments.
void Core::startRecording()
{
    m_captureSession->setAudioInput(m_audioInput);
    waitFor(sourceStartMsecs);
    if (m_captureSession->audioInput() != m_audioInput)
        return; // stopped meanwhile
    m_mediaRecorder->setOutputLocation(QUrl::fromLocalFile(stampedName(m_audioTempDir, QStringLiteral(".wav"))));
    m_mediaRecorder->record();
    m_recordingWatchdog.start();
}

// Should a recording still take no sound, it is dropped and started afresh once the
// stopped one has settled.
void Core::restartSilentRecording()
{
    if (m_mediaRecorder->recorderState() != QMediaRecorder::RecordingState || m_mediaRecorder->duration() > 0)
        return;
    const QString silent = m_mediaRecorder->actualLocation().toLocalFile();
    const bool stopped = finishRecording();
    QFile::remove(silent);
    if (!stopped || ++m_recordingAttempts > maxRecordingAttempts) {
        showErrorWidget(tr("The microphone gives no sound: the voice comment is not recorded"));
        return;
    }
    waitFor(sourceStartMsecs);
    startRecording();
}

void Core::pauseRecordAudio()
{
    if (m_mediaRecorder)
        m_mediaRecorder->pause();
}

void Core::uppauseRecordAudio()
{
    if (m_mediaRecorder)
        m_mediaRecorder->record();
}

// The recorder finishes its file only after it has stopped, some time after the request.
bool Core::finishRecording()
{
    m_recordingWatchdog.stop();
    if (!m_mediaRecorder)
        return true;
    if (m_mediaRecorder->recorderState() != QMediaRecorder::StoppedState) {
        QEventLoop loop;
        connect(m_mediaRecorder, &QMediaRecorder::recorderStateChanged, &loop,
                [&loop](QMediaRecorder::RecorderState state) {
                    if (state == QMediaRecorder::StoppedState)
                        loop.quit();
                });
        QTimer::singleShot(recorderStopMsecs, &loop, &QEventLoop::quit);
        m_mediaRecorder->stop();
        if (m_mediaRecorder->recorderState() != QMediaRecorder::StoppedState)
            loop.exec();
    }
    m_captureSession->setAudioInput(nullptr);
    return m_mediaRecorder->recorderState() == QMediaRecorder::StoppedState;
}

QString Core::stopRecordAudio()
{
    if (!finishRecording()) {
        showErrorWidget(tr("The voice comment recording did not finish"));
        return QString();
    }
    qCDebug(lcMavu) << "QString Core::stopRecordAudio()" << m_currentCaptureFile;
    QByteArray audio;
    QString error;
    const QString recording = getAudioFile();
    if (!recording.isEmpty() && !playbackPcmFromWav(fileBytes(recording), &audio, &error)) {
        showErrorWidget(tr("Can't read the voice comment %1: %2").arg(recording, error));
        return QString();
    }
    AudioImageFile file;
    file.setFileName(stampedName(m_tempDir, QStringLiteral(".zia")));
    if (!file.write(fileBytes(m_currentCaptureFile), audio)) {
        showErrorWidget(file.errorString());
        return QString();
    }
    return file.fileName();
}

bool Core::isHaveAudioFile() const
{
    return !recordings().isEmpty();
}

QString Core::getAudioFile() const
{
    const QFileInfoList files = recordings();
    return files.isEmpty() ? QString() : files.first().absoluteFilePath();
}

// A recording still running belongs to the capture being dropped: it is stopped before
// its file goes.
void Core::clearAudioFile()
{
    if (m_mediaRecorder && m_mediaRecorder->recorderState() != QMediaRecorder::StoppedState)
        finishRecording();
    if (!DataFolder::refusal(m_audioTempDir).isEmpty()) // reported by the settings store at start
        return;
    const QFileInfoList files = QDir(m_audioTempDir).entryInfoList(QDir::Files);
    for (const QFileInfo &file : files)
        QFile::remove(file.absoluteFilePath());
}

void Core::openAudioImage(QString fileName)
{
    auto *player = new AudioImagePlayer();
    connect(player, &BasicWindow::closed, player, &QObject::deleteLater);
    connect(player, &AudioImagePlayer::playFailed, this, &Core::showErrorWidget);
    if (!player->openFile(fileName)) {
        showErrorWidget(player->errorString());
        player->deleteLater();
        return;
    }
    player->show();
}
