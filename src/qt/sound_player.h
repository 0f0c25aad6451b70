// Wave playback that returns when the sound has finished.
#pragma once

#include <QString>

namespace torv::qt {

/// Length of a RIFF/WAVE file in milliseconds from its header; -1 when the
/// header cannot be read. Capped at ten minutes, whatever the header claims.
int waveLengthMs(const QString& path);

/// Plays the file and waits for its end, at most its length plus a margin
/// (without a sound card the end may never be reported). Empty when it
/// played, else why it could not be played (a missing file plays nothing).
QString playWave(const QString& path);

}  // namespace torv::qt
