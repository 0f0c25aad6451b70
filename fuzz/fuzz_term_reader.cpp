// The term reader on any text: every field type, and every string it reads
// must read back the same once written again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "kb/term_reader.h"

namespace {

using torv::kb::FieldType;
using torv::kb::RecordSchema;

const std::vector<RecordSchema> kSchemas{
    {"t", {FieldType::Integer, FieldType::Real, FieldType::String, FieldType::StringList, FieldType::IntegerList}},
    {"rule", {FieldType::Integer, FieldType::String, FieldType::StringList, FieldType::Integer}},
    {"fact", {FieldType::String}},
    {"argument_known", {FieldType::String, FieldType::Real}},
    {"model_poly", {FieldType::Integer, FieldType::String, FieldType::String, FieldType::String,
                    FieldType::StringList, FieldType::IntegerList, FieldType::Integer}},
    {"constraint", {FieldType::Integer, FieldType::StringList}},
};

const std::vector<RecordSchema> kString{{"s", {FieldType::String}}};

void roundTrip(const std::string& s) {
    const std::string line = "s(" + torv::kb::quoteString(s) + ")";
    auto r = torv::kb::parseRecord(line, kString);
    const auto* rec = std::get_if<torv::kb::ParsedRecord>(&r);
    if (!rec || std::get<std::string>(rec->fields.at(0)) != s) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    torv::kb::parseLines(text, kSchemas, [](torv::kb::ParsedRecord& rec, std::string_view) {
        for (const auto& f : rec.fields) {
            if (const auto* s = std::get_if<std::string>(&f)) roundTrip(*s);
            if (const auto* l = std::get_if<std::vector<std::string>>(&f))
                for (const auto& s : *l) roundTrip(s);
        }
    });
    return 0;
}
