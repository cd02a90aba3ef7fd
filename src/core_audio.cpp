// Voice comments: recorded while a capture is open, joined with the capture image into
// one voice-comment file, and opened again in the player window.

#include "core.h"

#include "app/audioimagefile.h"
#include "app/audioimageplayer.h"
#include "app/playbackpcm.h"
#include "app/waverecorder.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"

#include <QAudioDevice>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QMediaDevices>

namespace {

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
    if (m_recorder)
        return;
    m_recorder = new WaveRecorder(this);
    connect(m_recorder, &WaveRecorder::failed, this, [this](const QString &text) {
        showErrorWidget(tr("Can't record the voice comment: %1").arg(text));
    });
}

// The microphone is open only while a recording runs, so that it is free (and shown as
// unused by the desktop) between voice comments. A paused recording goes on.
void Core::recordAudio()
{
    setupAudioRecorder();
    if (!QDir().mkpath(m_audioTempDir)) {
        showErrorWidget(tr("Can't create the folder %1").arg(m_audioTempDir));
        return;
    }
    if (m_recorder->isRecording()) {
        m_recorder->resume();
        return;
    }
    if (!m_recorder->start(stampedName(m_audioTempDir, QStringLiteral(".wav"))))
        showErrorWidget(tr("Can't record the voice comment: %1").arg(m_recorder->errorString()));
}

void Core::pauseRecordAudio()
{
    if (m_recorder)
        m_recorder->pause();
}

void Core::uppauseRecordAudio()
{
    if (m_recorder)
        m_recorder->resume();
}

bool Core::finishRecording()
{
    if (!m_recorder || m_recorder->stop())
        return true;
    showErrorWidget(tr("The voice comment recording did not finish"));
    return false;
}

QString Core::stopRecordAudio()
{
    if (!finishRecording())
        return QString();
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

bool Core::hasVoiceComment()
{
    if (!isHaveAudioFile() || !finishRecording())
        return false;
    bool dropped = false;
    for (const QFileInfo &recording : recordings()) {
        QByteArray sound;
        QString error;
        if (playbackPcmFromWav(fileBytes(recording.absoluteFilePath()), &sound, &error) && sound.isEmpty())
            dropped = QFile::remove(recording.absoluteFilePath()) || dropped;
    }
    if (dropped)
        showErrorWidget(tr("The voice comment holds no sound: the capture goes without it"));
    return isHaveAudioFile();
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
