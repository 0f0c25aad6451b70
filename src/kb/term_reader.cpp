// The term reader: one record per line, fields checked against a schema.
#include "kb/term_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "kb/file_io.h"

namespace torv::kb {

namespace {

bool isNameStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isNameChar(char c) { return isNameStart(c) || (c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

/// Thrown inside the parser only; parseRecord turns it into a ReadError.
struct Fail {
    std::size_t at;
    std::string message;
};

class Parser {
public:
    explicit Parser(std::string_view s) : s_(s) {}

    bool atEnd() const { return i_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[i_]; }
    std::size_t pos() const { return i_; }

    void skipBlanks() {
        while (!atEnd() && isBlank(s_[i_])) ++i_;
    }

    [[noreturn]] void fail(std::string message) const { throw Fail{i_, std::move(message)}; }
    [[noreturn]] void failAt(std::size_t at, std::string message) const { throw Fail{at, std::move(message)}; }

    void expect(char c, const char* message) {
        skipBlanks();
        if (peek() != c) fail(atEnd() ? std::string(message) + " before the end of the line" : message);
        ++i_;
    }

    std::string_view name() {
        skipBlanks();
        if (!isNameStart(peek())) fail("Record name expected");
        std::size_t start = i_;
        while (!atEnd() && isNameChar(s_[i_])) ++i_;
        return s_.substr(start, i_ - start);
    }

    // The text of a number: -?digits(.digits)?([eE][+-]?digits)?
    std::string_view numberText(bool allowReal, const char* expected) {
        std::size_t start = i_;
        if (peek() == '-') ++i_;
        if (!isDigit(peek())) failAt(start, expected);
        while (isDigit(peek())) ++i_;
        if (allowReal) {
            if (peek() == '.') {
                ++i_;
                if (!isDigit(peek())) fail("Digit expected after the decimal point");
                while (isDigit(peek())) ++i_;
            }
            if (peek() == 'e' || peek() == 'E') {
                ++i_;
                if (peek() == '+' || peek() == '-') ++i_;
                if (!isDigit(peek())) fail("Digit expected in the exponent");
                while (isDigit(peek())) ++i_;
            }
        }
        if (isNameChar(peek()) || peek() == '.') {
            if (!allowReal) failAt(start, "Integer expected");
            fail("Unexpected character in number");
        }
        return s_.substr(start, i_ - start);
    }

    std::int32_t integer() {
        skipBlanks();
        std::size_t start = i_;
        std::string_view t = numberText(false, "Integer expected");
        std::int32_t v = 0;
        auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec == std::errc::result_out_of_range) failAt(start, "Integer out of range");
        if (ec != std::errc{} || p != t.data() + t.size()) failAt(start, "Integer expected");
        return v;
    }

    double real() {
        skipBlanks();
        std::size_t start = i_;
        std::string_view t = numberText(true, "Number expected");
        double v = 0;
        auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (ec == std::errc::result_out_of_range || !std::isfinite(v)) failAt(start, "Number out of range");
        if (ec != std::errc{} || p != t.data() + t.size()) failAt(start, "Number expected");
        return v;
    }

    std::string string() {
        skipBlanks();
        if (peek() != '"') fail("String expected");
        std::size_t open = i_++;
        std::string out;
        while (true) {
            // Copy the plain run up to the next quote or backslash at once.
            const std::size_t stop = s_.find_first_of("\"\\", i_);
            if (stop == std::string_view::npos) failAt(open, "String not closed");
            out.append(s_.data() + i_, stop - i_);
            i_ = stop;
            char c = s_[i_];
            if (c == '"') {
                ++i_;
                return out;
            }
            if (c == '\\') {
                std::size_t at = i_++;
                if (atEnd()) failAt(open, "String not closed");
                switch (s_[i_]) {
                case '"': out += '"'; break;
                case '\\': out += '\\'; break;
                case 'n': out += '\n'; break;
                case 'r': out += '\r'; break;
                case 't': out += '\t'; break;
                default: failAt(at, "Unknown escape sequence in string");
                }
                ++i_;
                continue;
            }
            out += c;
            ++i_;
        }
    }

    template <class Element>
    std::vector<Element> list(Element (Parser::*element)()) {
        skipBlanks();
        if (peek() != '[') fail("List expected");
        std::size_t open = i_++;
        std::vector<Element> out;
        skipBlanks();
        if (peek() == ']') {
            ++i_;
            return out;
        }
        while (true) {
            out.push_back((this->*element)());
            skipBlanks();
            if (peek() == ']') {
                ++i_;
                return out;
            }
            if (atEnd()) failAt(open, "List not closed");
            if (peek() != ',') fail("',' or ']' expected in list");
            ++i_;
        }
    }

    FieldValue field(FieldType t) {
        switch (t) {
        case FieldType::Integer: return integer();
        case FieldType::Real: return real();
        case FieldType::String: return string();
        case FieldType::StringList: return list(&Parser::string);
        case FieldType::IntegerList: break;
        }
        return list(&Parser::integer);
    }

private:
    std::string_view s_;
    std::size_t i_ = 0;
};

}  // namespace

std::variant<ParsedRecord, ReadError> parseRecord(std::string_view line,
                                                  std::span<const RecordSchema> schemas) {
    Parser p(line);
    try {
        std::size_t nameAt = (p.skipBlanks(), p.pos());
        std::string_view name = p.name();
        std::size_t schema = schemas.size();
        for (std::size_t k = 0; k < schemas.size(); ++k)
            if (schemas[k].name == name) schema = k;
        if (schema == schemas.size())
            p.failAt(nameAt, "Record '" + std::string(name) + "' is not allowed in this file");
        const RecordSchema& rs = schemas[schema];
        ParsedRecord rec{schema, {}};
        p.expect('(', "'(' expected");
        auto wrongCount = [&] { p.fail("Wrong number of fields for " + std::string(rs.name)); };
        rec.fields.reserve(rs.fields.size());
        for (std::size_t f = 0; f < rs.fields.size(); ++f) {
            if (f > 0) {
                p.skipBlanks();
                if (p.peek() == ')') wrongCount();
                p.expect(',', "',' expected");
            }
            p.skipBlanks();
            if (p.peek() == ')') wrongCount();
            rec.fields.push_back(p.field(rs.fields[f]));
        }
        p.skipBlanks();
        if (p.peek() == ',') wrongCount();
        p.expect(')', "')' expected");
        p.skipBlanks();
        if (!p.atEnd()) p.fail("Unexpected character after the record");
        return rec;
    } catch (const Fail& f) {
        ReadError e;
        e.kind = ReadError::Kind::Syntax;
        e.position = static_cast<int>(std::min<std::size_t>(f.at, std::numeric_limits<int>::max() - 1)) + 1;
        e.message = f.message;
        return e;
    }
}

std::optional<ReadError> forEachLine(
    std::string_view text, const std::function<std::optional<ReadError>(int, std::string_view)>& onLine) {
    int number = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t nl = text.find('\n', start);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        if (line.find_first_not_of(" \t") == std::string_view::npos) {
            ReadError e;
            e.kind = ReadError::Kind::EmptyLine;
            e.line = number;
            e.lineText = std::string(line);
            e.message = "Empty line";
            return e;
        }
        if (auto err = onLine(number, line)) return err;
        if (nl == std::string_view::npos) break;
        start = nl + 1;
    }
    return std::nullopt;
}

std::variant<std::string, ReadError> readWholeFile(const std::filesystem::path& path) {
    ReadResult read = readRegularFile(path, kMaxBaseFileBytes);
    if (read.ok()) return std::move(read.bytes);
    ReadError e;
    e.kind = ReadError::Kind::Unreadable;
    e.message = std::move(read.error);
    return e;
}

std::optional<ReadError> parseLines(std::string_view text, std::span<const RecordSchema> schemas,
                                    const std::function<void(ParsedRecord&, std::string_view)>& onRecord) {
    return forEachLine(text, [&](int number, std::string_view line) -> std::optional<ReadError> {
        auto r = parseRecord(line, schemas);
        if (auto* e = std::get_if<ReadError>(&r)) {
            e->line = number;
            e->lineText = std::string(line);
            return *e;
        }
        onRecord(std::get<ParsedRecord>(r), line);
        return std::nullopt;
    });
}

std::variant<std::vector<ParsedRecord>, ReadError> readRecords(const std::filesystem::path& path,
                                                               std::span<const RecordSchema> schemas) {
    auto whole = readWholeFile(path);
    if (auto* e = std::get_if<ReadError>(&whole)) return *e;
    std::vector<ParsedRecord> records;
    auto err = parseLines(std::get<std::string>(whole), schemas,
                          [&](ParsedRecord& r, std::string_view) { records.push_back(std::move(r)); });
    if (err) return *err;
    return records;
}

LineExcerpt excerptAround(std::string_view line, std::size_t position, std::size_t keepWhole,
                          std::size_t context) {
    const std::size_t at = std::min(position ? position - 1 : 0, line.size());
    if (line.size() <= keepWhole) return {std::string(line), at, false};
    auto continuation = [&](std::size_t i) {
        return i < line.size() && (static_cast<unsigned char>(line[i]) & 0xC0) == 0x80;
    };
    std::size_t from = at > context ? at - context : 0;
    while (from > 0 && from < at && continuation(from)) ++from;  // whole UTF-8 letters only
    std::size_t to = std::min(line.size(), at + context);
    while (continuation(to)) ++to;
    LineExcerpt e;
    e.clipped = true;
    if (from > 0) e.text = "...";
    e.caret = e.text.size() + (at - from);
    e.text.append(line.substr(from, to - from));
    if (to < line.size()) e.text += "...";
    return e;
}

std::string quoteString(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    for (char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    out += '"';
    return out;
}

}  // namespace torv::kb
