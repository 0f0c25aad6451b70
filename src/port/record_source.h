// What a record inspection window shows: its layout, and its records on
// demand, so that a window over a very large base opens at once. Ports lay
// the window out from this and take no text of their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace torv::port {

struct RecordLayout {
    std::string title;
    std::string heading;        // e.g. "BASIC MODELS"; may be empty
    std::string formula;        // formula caption; may be empty
    std::string numberLabel;    // caption of the number list; may be empty
    std::string closeLabel = "&Close";
    std::vector<std::pair<std::string, std::size_t>> counts;   // labelled read-only counts
    std::vector<std::string> fields;                            // labels of the one-line fields
    std::vector<std::string> groups;                            // titles of the list groups
};

/// One record: a value per layout field and a list per layout group.
struct RecordEntry {
    std::vector<std::string> fields;
    std::vector<std::vector<std::string>> groups;
};

class RecordSource {
public:
    virtual ~RecordSource() = default;
    virtual const RecordLayout& layout() const = 0;
    virtual std::size_t count() const = 0;
    /// The number of entry i (i < count()), as listed.
    virtual std::int32_t number(std::size_t i) const = 0;
    virtual RecordEntry entry(std::size_t i) const = 0;
};

}  // namespace torv::port
