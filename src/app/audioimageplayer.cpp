#include "app/audioimageplayer.h"

#include "app/playbackpcm.h"
#include "capture/pngdataurl.h"
#include "settings/debuglog.h"

#include <QDebug>
#include <QImage>
#include <QUrl>
#include <QWidget>

AudioImagePlayer::AudioImagePlayer(QWidget *parent)
    : BasicWindow(parent)
{
    connect(&m_file, &AudioImageFile::stateChange, this, &AudioImagePlayer::isPlayChanged);
    connect(&m_file, &AudioImageFile::playFailed, this, &AudioImagePlayer::playFailed);
    setupUi();
}

void AudioImagePlayer::init()
{
    setTitle(tr("Mavu - voice comment"));
    setObjectName(QStringLiteral("AudioImagePlayer"));
    setMoviable(true);
    setPosCenter(true);
}

bool AudioImagePlayer::openFile(const QString &fileName)
{
    m_file.setFileName(fileName);
    if (!m_file.readAll()) {
        m_error = m_file.errorString();
        return false;
    }
    // The file's sizes can be right around a picture that no reader takes.
    const QImage image = QImage::fromData(m_file.imageData());
    if (image.isNull()) {
        m_error = AudioImageFile::tr("The voice comment %1 is damaged").arg(fileName);
        return false;
    }
    const int bytesPerSecond = playbackFormat().bytesForDuration(1000000);
    setData(QStringLiteral("imageWidth"), image.width());
    setData(QStringLiteral("imageHeight"), image.height());
    setData(QStringLiteral("image"), pngDataUrl(image));
    setData(QStringLiteral("seconds"), int((m_file.audioData().size() + bytesPerSecond / 2) / bytesPerSecond));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/AudioImagePlayer.qml")));
    return true;
}

bool AudioImagePlayer::isPlay() const
{
    qCDebug(lcMavu) << "bool AudioImagePlayer::isPlay()" << m_file.isPlaying();
    return m_file.isPlaying();
}

void AudioImagePlayer::playAudio()
{
    m_file.playAudio();
}

void AudioImagePlayer::stopAudio()
{
    m_file.stopAudio();
}
