#include "app/playbackpcm.h"

#include <QCoreApplication>
#include <QtEndian>

#include <cmath>
#include <vector>

namespace {

constexpr int playbackRate = 48000;
constexpr quint16 integerPcm = 1;
constexpr quint16 floatPcm = 3;
constexpr quint16 extensible = 0xfffe;

struct WaveFormat
{
    quint16 tag = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

quint16 le16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 le32(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

WaveFormat readFormatChunk(const QByteArray &wav, qsizetype body, qsizetype size)
{
    WaveFormat format;
    format.tag = le16(wav, body);
    format.channels = le16(wav, body + 2);
    format.rate = int(le32(wav, body + 4));
    format.bits = le16(wav, body + 14);
    // The extensible header names the real sample kind at the start of its sub-format.
    if (format.tag == extensible && size >= 26)
        format.tag = le16(wav, body + 24);
    return format;
}

// Walks the chunks; a chunk that claims more than the file holds is cut at its end.
bool findChunks(const QByteArray &wav, WaveFormat *format, QByteArray *data)
{
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return false;
    bool haveFormat = false;
    for (qsizetype at = 12; at + 8 <= wav.size();) {
        const QByteArray id = wav.mid(at, 4);
        const qint64 size = le32(wav, at + 4);
        const qsizetype body = at + 8;
        const qsizetype available = qsizetype(qMin<qint64>(size, wav.size() - body));
        if (id == "fmt " && available >= 16) {
            *format = readFormatChunk(wav, body, available);
            haveFormat = true;
        } else if (id == "data") {
            *data = wav.mid(body, available);
            return haveFormat;
        }
        at = body + size + (size & 1);
    }
    return false;
}

// Rates outside what sound cards give are refused: converting from one of a few samples a
// second would blow a short recording up beyond memory.
bool readable(const WaveFormat &format)
{
    const bool knownSamples = (format.tag == integerPcm && format.bits == 16)
        || (format.tag == floatPcm && format.bits == 32);
    return knownSamples && format.channels > 0 && format.rate >= 4000 && format.rate <= 768000;
}

// One value in [-1, 1] per frame, the channels averaged.
std::vector<float> mixedDown(const QByteArray &data, const WaveFormat &format)
{
    const int sampleBytes = format.bits / 8;
    const qsizetype frames = data.size() / (sampleBytes * format.channels);
    std::vector<float> mono(size_t(frames), 0.0f);
    const char *sample = data.constData();
    for (float &frame : mono) {
        for (int channel = 0; channel < format.channels; ++channel, sample += sampleBytes)
            frame += format.tag == floatPcm ? qFromLittleEndian<float>(sample)
                                            : qFromLittleEndian<qint16>(sample) / 32768.0f;
        frame /= float(format.channels);
    }
    return mono;
}

// Linear interpolation between neighbouring frames.
QByteArray resampled(const std::vector<float> &mono, int rate)
{
    const qint64 count = qint64(mono.size()) * playbackRate / rate;
    QByteArray pcm(count * 2, Qt::Uninitialized);
    for (qint64 i = 0; i < count; ++i) {
        const double position = double(i) * rate / playbackRate;
        const size_t before = size_t(position);
        const size_t after = qMin(before + 1, mono.size() - 1);
        const double share = position - double(before);
        const double value = mono[before] * (1.0 - share) + mono[after] * share;
        const qint16 sample = qint16(qBound(-32768.0, std::round(value * 32768.0), 32767.0));
        qToLittleEndian(sample, pcm.data() + i * 2);
    }
    return pcm;
}

} // namespace

QAudioFormat playbackFormat()
{
    QAudioFormat format;
    format.setSampleFormat(QAudioFormat::Int16);
    format.setChannelCount(1);
    format.setSampleRate(playbackRate);
    return format;
}

bool playbackPcmFromWav(const QByteArray &wav, QByteArray *pcm, QString *error)
{
    WaveFormat format;
    QByteArray data;
    if (!findChunks(wav, &format, &data)) {
        *error = QCoreApplication::translate("AudioImageFile", "The recording is not a WAVE file");
        return false;
    }
    // A recorder that ended before its first sample leaves a bare header, whose format
    // fields may be left unset: there is no sound to read in any format.
    if (data.isEmpty()) {
        pcm->clear();
        return true;
    }
    if (!readable(format)) {
        *error = QCoreApplication::translate("AudioImageFile", "The recording has a sample format that can't be read");
        return false;
    }
    const std::vector<float> mono = mixedDown(data, format);
    *pcm = mono.empty() ? QByteArray() : resampled(mono, format.rate);
    return true;
}
