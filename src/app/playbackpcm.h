#pragma once

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

// The one sound format of voice comments: raw PCM, signed 16-bit, one channel, 48000
// samples per second, without any header.
QAudioFormat playbackFormat();

// The sound of a WAVE recording in the playback format: its channels mixed down to one
// and its rate converted, since the recorder keeps the rate and the channels of the
// microphone. False with the reason when the recording is no WAVE file this can read; a
// recording without samples gives no sound, whatever its header says of their format.
bool playbackPcmFromWav(const QByteArray &wav, QByteArray *pcm, QString *error);
