// Decoding files for the editor and encoding edited texts back.
#include "kb/text_encoding.h"

#include <cstdio>

#include "kb/code_page.h"

namespace torv::kb {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

/// Decodes one UTF-8 character at `i`; its length, or 0 when the bytes
/// there are not UTF-8 (overlong forms and surrogates included).
std::size_t utf8Char(std::string_view s, std::size_t i, unsigned& cp) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    unsigned min = 0;
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    if ((b & 0xE0) == 0xC0) {
        cp = b & 0x1Fu;
        length = 2;
        min = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0Fu;
        length = 3;
        min = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        cp = b & 0x07u;
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > s.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3Fu);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

void appendUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

/// The code-page byte of a character, or nullopt. The unassigned bytes
/// stand for the C1 characters of the same number, as they were read.
std::optional<char> cp1250Byte(unsigned cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kCp1250.size(); ++i)
        if (kCp1250[i] == cp || (kCp1250[i] == 0 && cp == 0x80 + i)) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

std::string withLfLineEnds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    unsigned cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = utf8Char(bytes, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string codePointName(unsigned codePoint) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X", codePoint);
    return buf;
}

DecodedText decodeForEditing(std::string_view bytes) {
    DecodedText d;
    const auto lf = bytes.find('\n');
    d.format.crlf = lf != std::string_view::npos && lf > 0 && bytes[lf - 1] == '\r';
    std::string_view body = bytes;
    const bool bom = body.starts_with(kBom);
    if (bom) body.remove_prefix(kBom.size());
    std::string lines = withLfLineEnds(body);
    if (isValidUtf8(lines)) {
        d.format.bom = bom;
        d.utf8 = std::move(lines);
        return d;
    }
    // In a code-page file those first three bytes are letters, not a mark.
    d.format.encoding = TextFormat::Encoding::Cp1250;
    lines = withLfLineEnds(bytes);
    d.utf8.reserve(lines.size() + lines.size() / 4);
    for (char c : lines) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) d.utf8 += c;
        else if (const char16_t u = kCp1250[b - 0x80]) appendUtf8(d.utf8, u);
        else appendUtf8(d.utf8, b);
    }
    return d;
}

EncodedText encodeForSaving(std::string_view utf8, const TextFormat& format) {
    EncodedText r;
    const std::string text = withLfLineEnds(utf8);
    std::string out;
    out.reserve(text.size() + (format.crlf ? text.size() / 16 : 0) + 3);
    if (format.bom && format.encoding == TextFormat::Encoding::Utf8) out += kBom;
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < text.size();) {
        unsigned cp = 0;
        const std::size_t n = utf8Char(text, i, cp);
        if (n == 0) {
            r.fault = {{}, static_cast<unsigned char>(text[i]), line, column};
            return r;
        }
        if (cp == '\n') {
            out += format.crlf ? "\r\n" : "\n";
            ++line;
            column = 1;
            i += n;
            continue;
        }
        if (format.encoding == TextFormat::Encoding::Utf8) {
            out.append(text, i, n);
        } else if (auto b = cp1250Byte(cp)) {
            out += *b;
        } else {
            r.fault = {text.substr(i, n), cp, line, column};
            return r;
        }
        ++column;
        i += n;
    }
    r.bytes = std::move(out);
    return r;
}

}  // namespace torv::kb
