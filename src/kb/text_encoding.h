// Texts of files opened for editing: decoded to UTF-8 with "\n" line ends
// for the editor, and written back in the file's own encoding and line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torv::kb {

/// How a file's text is stored, so that saving keeps it.
struct TextFormat {
    enum class Encoding { Utf8, Cp1250 };
    Encoding encoding = Encoding::Utf8;
    bool crlf = false;   // line ends "\r\n" rather than "\n"
    bool bom = false;    // a UTF-8 byte-order mark at the start
};

/// A file's bytes as text to edit.
struct DecodedText {
    std::string utf8;    // "\n" line ends, no byte-order mark
    TextFormat format;
};

/// Valid UTF-8 (plain ASCII included) is UTF-8; anything else is code page
/// 1250. Its five unassigned bytes become U+0081 and the like, so that they
/// are written back as they were. The first line end decides the line ends.
DecodedText decodeForEditing(std::string_view bytes);

/// A text that cannot be written in a format: the first character that the
/// encoding cannot hold (or the first byte that is not UTF-8), and its place.
struct EncodingFault {
    std::string character;   // as UTF-8; empty for a byte that is not UTF-8
    unsigned codePoint = 0;
    int line = 0;            // 1-based
    int column = 0;          // 1-based, in characters
};

/// The bytes to write for an edited text: its line ends ("\n" or "\r\n")
/// made the format's, then encoded. Either bytes or the fault.
struct EncodedText {
    std::optional<std::string> bytes;
    EncodingFault fault;
};
EncodedText encodeForSaving(std::string_view utf8, const TextFormat& format);

/// True when the bytes are valid UTF-8.
bool isValidUtf8(std::string_view bytes);

/// "U+0105".
std::string codePointName(unsigned codePoint);

}  // namespace torv::kb
