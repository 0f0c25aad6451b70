// UTF-8 to Windows-1250.
#include "kb/code_page.h"

namespace torv::kb {

std::optional<std::string> utf8ToCp1250(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += text[i++];
            continue;
        }
        // Only two- and three-byte sequences can name a code-page character.
        char32_t u = 0;
        std::size_t length = 0;
        if ((b & 0xE0) == 0xC0) {
            u = b & 0x1F;
            length = 2;
        } else if ((b & 0xF0) == 0xE0) {
            u = b & 0x0F;
            length = 3;
        } else {
            return std::nullopt;
        }
        if (i + length > text.size()) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) return std::nullopt;
            u = (u << 6) | (c & 0x3F);
        }
        if (u < 0x80 || (length == 3 && u < 0x800)) return std::nullopt;   // overlong
        std::size_t at = 0;
        while (at < kCp1250.size() && kCp1250[at] != u) ++at;
        if (at == kCp1250.size()) return std::nullopt;
        out += static_cast<char>(0x80 + at);
        i += length;
    }
    return out;
}

}  // namespace torv::kb
