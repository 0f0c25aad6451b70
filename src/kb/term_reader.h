// The term reader: base files as lines of records, each `name(field, ...)`,
// checked against the record kinds a file accepts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace torv::kb {

/// Field types of a record.
enum class FieldType { Integer, Real, String, StringList, IntegerList };

/// A record kind: its name and field types, in order.
struct RecordSchema {
    std::string_view name;
    std::vector<FieldType> fields;
};

using FieldValue = std::variant<std::int32_t, double, std::string, std::vector<std::string>,
                                std::vector<std::int32_t>>;

/// One record as read: the index of its schema and its field values.
struct ParsedRecord {
    std::size_t schema;
    std::vector<FieldValue> fields;
};

/// Where and why a read stopped.
struct ReadError {
    enum class Kind {
        Syntax,       // a term the reader cannot accept; has a place
        EmptyLine,    // a blank line
        Unreadable,   // the file cannot be opened or read
        Cancelled,    // the user stopped the read
    };
    Kind kind = Kind::Syntax;
    int line = 0;            // 1-based
    int position = 0;        // 1-based byte position within the line
    std::string lineText;    // the faulty line as read
    std::string message;     // the reader's own text
};

/// Parses one line (no line break) as a record of one of `schemas`. On
/// failure the error has its position and message; line and text are left
/// for the caller.
std::variant<ParsedRecord, ReadError> parseRecord(std::string_view line,
                                                  std::span<const RecordSchema> schemas);

/// Splits a file's text into lines (LF or CRLF); one final line break is
/// normal, an empty or blank line is an error. Calls `onLine(number, text)`
/// for each line until it returns an error.
std::optional<ReadError> forEachLine(std::string_view text,
                                     const std::function<std::optional<ReadError>(int, std::string_view)>& onLine);

/// Parses every line of a text as a record, calling `onRecord(record, line)`
/// for each; stops at the first error, which carries its line and place.
std::optional<ReadError> parseLines(std::string_view text, std::span<const RecordSchema> schemas,
                                    const std::function<void(ParsedRecord&, std::string_view)>& onRecord);

/// Reads a whole file; Unreadable error when it cannot.
std::variant<std::string, ReadError> readWholeFile(const std::filesystem::path& path);

/// Reads every record of a file, stopping at the first error.
std::variant<std::vector<ParsedRecord>, ReadError> readRecords(const std::filesystem::path& path,
                                                               std::span<const RecordSchema> schemas);

/// A piece of a faulty line fit for a message: the line itself while it is
/// short, otherwise `context` bytes either side of the place, marked "...".
struct LineExcerpt {
    std::string text;
    std::size_t caret = 0;  // 0-based column of the place within `text`
    bool clipped = false;
};
/// `position` is 1-based and may lie just past the end of the line.
LineExcerpt excerptAround(std::string_view line, std::size_t position, std::size_t keepWhole = 240,
                          std::size_t context = 60);

/// Writes a string field as the reader reads it back (quotes and escapes).
std::string quoteString(std::string_view s);

}  // namespace torv::kb
