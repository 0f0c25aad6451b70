// Synchronous wave playback over QMediaPlayer.
#include "qt/sound_player.h"

#include <algorithm>

#include <QAudioOutput>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace torv::qt {

namespace {
constexpr int kMarginMs = 3000;
constexpr int kUnknownLengthMs = 30000;
/// A header may claim hours of sound; nobody waits that long for a note.
constexpr qint64 kLongestWaitMs = 10 * 60 * 1000;
}

int waveLengthMs(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray head = f.read(12);
    if (head.size() < 12 || !head.startsWith("RIFF") || head.mid(8, 4) != "WAVE") return -1;
    quint32 byteRate = 0;
    while (true) {
        const QByteArray chunk = f.read(8);
        if (chunk.size() < 8) return -1;
        // Sizes come from the file: kept in 64 bits, never trusted for an allocation.
        const qint64 size = qFromLittleEndian<quint32>(chunk.constData() + 4);
        const QByteArray id = chunk.left(4);
        if (id == "fmt ") {
            const QByteArray fmt = f.read(std::min<qint64>(size, 16));
            if (fmt.size() < 12) return -1;
            byteRate = qFromLittleEndian<quint32>(fmt.constData() + 8);
            if (!f.seek(f.pos() + (size - fmt.size()) + (size % 2))) return -1;
        } else if (id == "data") {
            if (byteRate == 0) return -1;
            return static_cast<int>(std::min<qint64>(size * 1000 / byteRate, kLongestWaitMs));
        } else if (!f.seek(f.pos() + size + (size % 2))) {
            return -1;
        }
    }
}

QString playWave(const QString& path) {
    if (!QFileInfo(path).isFile()) return QStringLiteral("the file does not exist");
    const int length = waveLengthMs(path);
    const int timeout = (length >= 0 ? length : kUnknownLengthMs) + kMarginMs;

    QMediaPlayer player;
    QAudioOutput output;
    player.setAudioOutput(&output);
    QEventLoop loop;
    QString failure;
    QObject::connect(&player, &QMediaPlayer::mediaStatusChanged, &loop, [&](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::EndOfMedia) loop.quit();
        if (s == QMediaPlayer::InvalidMedia) {
            if (failure.isEmpty()) failure = QStringLiteral("the file is not a sound that can be played");
            loop.quit();
        }
    });
    QObject::connect(&player, &QMediaPlayer::errorOccurred, &loop,
                     [&](QMediaPlayer::Error, const QString& why) {
                         failure = why.isEmpty() ? QStringLiteral("the sound could not be played") : why;
                         loop.quit();
                     });
    QTimer::singleShot(timeout, &loop, &QEventLoop::quit);
    player.setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    player.play();
    // Keyboard and mouse wait, as for any modal step of a command.
    if (failure.isEmpty()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    player.stop();
    return failure;
}

}  // namespace torv::qt
