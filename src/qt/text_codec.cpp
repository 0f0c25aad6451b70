// UTF-8 / Windows-1250 decoding for display.
#include "qt/text_codec.h"

#include "kb/code_page.h"

#include <QFile>
#include <QStringDecoder>

namespace torv::qt {

namespace {
using kb::kCp1250;

QString fromCp1250(const std::string& bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out += QChar(b);
        else if (char16_t u = kCp1250[b - 0x80]) out += QChar(u);
        else out += QChar(QChar::ReplacementCharacter);
    }
    return out;
}
}  // namespace

bool isUtf8(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !utf8.hasError();
}

std::string toCp1250(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += static_cast<char>(u);
            continue;
        }
        char byte = '?';
        for (std::size_t i = 0; i < kCp1250.size(); ++i)
            if (kCp1250[i] == u) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        out += byte;
    }
    return out;
}

QString toQ(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    return fromCp1250(bytes);
}

QStringList toQ(const std::vector<std::string>& lines) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& l : lines) out << toQ(l);
    return out;
}

std::string fromQ(const QString& text) { return text.toUtf8().toStdString(); }

std::string pathFromQ(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString pathToQ(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace torv::qt
