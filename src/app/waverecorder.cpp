#include "app/waverecorder.h"

#include "app/playbackpcm.h"
#include "settings/atomicfile.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QtEndian>

namespace {

constexpr qint64 headerSize = 44;
constexpr quint16 integerPcm = 1;
constexpr quint16 floatPcm = 3;
// The sizes a header holds until the recording stops: "to the end of the file".
constexpr quint32 openEnded = 0xffffffffu;

// The playback format where the microphone gives it, so that nothing needs converting;
// else the microphone's own rate and channels in samples that voice comments can read.
QAudioFormat recordingFormat(const QAudioDevice &device)
{
    if (device.isFormatSupported(playbackFormat()))
        return playbackFormat();
    QAudioFormat format = device.preferredFormat();
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        format.setSampleFormat(QAudioFormat::Float);
    return format;
}

template <typename Number>
void put(QByteArray *bytes, Number value)
{
    char at[sizeof value];
    qToLittleEndian(value, at);
    bytes->append(at, sizeof value);
}

QByteArray waveHeader(const QAudioFormat &format, quint32 dataSize)
{
    const auto frameBytes = quint16(format.bytesPerFrame());
    QByteArray header("RIFF");
    put<quint32>(&header, dataSize == openEnded ? openEnded : quint32(headerSize - 8 + dataSize));
    header += "WAVEfmt ";
    put<quint32>(&header, 16);
    put<quint16>(&header, format.sampleFormat() == QAudioFormat::Float ? floatPcm : integerPcm);
    put<quint16>(&header, quint16(format.channelCount()));
    put<quint32>(&header, quint32(format.sampleRate()));
    put<quint32>(&header, quint32(format.sampleRate()) * frameBytes);
    put<quint16>(&header, frameBytes);
    put<quint16>(&header, quint16(format.bytesPerSample() * 8));
    header += "data";
    put<quint32>(&header, dataSize);
    return header;
}

} // namespace

void RecordingFile::watch(bool on)
{
    if (on)
        m_failed = false;
    m_watching = on;
}

// Called by the sound source, in whatever thread it writes.
qint64 RecordingFile::writeData(const char *data, qint64 size)
{
    const auto write = [this](const char *rest, qint64 left) { return QFile::writeData(rest, left); };
    const qint64 done = writeInFull(write, data, size);
    if (done < size && m_watching && !m_failed.exchange(true))
        emit writeFailed(errorString());
    return done > 0 || size == 0 ? done : -1;
}

// A disk that took no more ends the recording: what it holds so far stays a whole
// recording, and the user learns that it is shorter. Queued, as the failing write runs
// inside the sound source, which stop() deletes.
WaveRecorder::WaveRecorder(QObject *parent)
    : QObject(parent)
{
    connect(&m_file, &RecordingFile::writeFailed, this, [this](const QString &reason) {
        if (m_file.hasFailed()) // not a recording started since
            stop();
        emit failed(tr("%1. The recording stopped; the comment keeps the sound recorded before.").arg(reason));
    }, Qt::QueuedConnection);
}

WaveRecorder::~WaveRecorder()
{
    stop();
}

bool WaveRecorder::start(const QString &path)
{
    m_error.clear();
    if (isRecording())
        return true;
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    m_format = recordingFormat(device);
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)
        || m_file.write(waveHeader(m_format, openEnded)) != headerSize)
        return discard(m_file.errorString());
    m_source = new QAudioSource(device, m_format, this);
    connect(m_source, &QAudioSource::stateChanged, this, [this](QAudio::State state) {
        if (state == QAudio::StoppedState && m_source->error() != QAudio::NoError)
            emit failed(tr("the microphone can't be used"));
    });
    m_file.watch(true);
    m_source->start(&m_file);
    if (m_source->error() == QAudio::NoError)
        return true;
    delete m_source;
    m_source = nullptr;
    return discard(tr("the microphone can't be used"));
}

void WaveRecorder::pause()
{
    if (m_source)
        m_source->suspend();
}

void WaveRecorder::resume()
{
    if (m_source)
        m_source->resume();
}

bool WaveRecorder::stop()
{
    if (!m_source)
        return true;
    m_source->disconnect(this);
    m_source->stop();
    delete m_source;
    m_source = nullptr;
    m_file.watch(false); // the header's write tells of itself
    const qint64 dataSize = qBound<qint64>(0, m_file.size() - headerSize, openEnded - headerSize);
    const bool complete = m_file.seek(0) && m_file.write(waveHeader(m_format, quint32(dataSize))) == headerSize;
    if (!complete)
        m_error = m_file.errorString();
    m_file.close();
    return complete;
}

// A recording that could not start leaves no file behind.
bool WaveRecorder::discard(const QString &error)
{
    m_error = error;
    m_file.remove();
    return false;
}
