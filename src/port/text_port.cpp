// TextPort: every box of the UserPort written as text and answered by a line.
#include "port/text_port.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <set>
#include <system_error>

#include "port/texts.h"

namespace torv::port {

namespace answers {

std::string plainLabel(std::string_view label) {
    std::string out;
    for (char c : label)
        if (c != '&') out += c;
    return out;
}

namespace {
std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}
std::string_view trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}
std::optional<long> number(std::string_view s) {
    long v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || p != s.data() + s.size()) return std::nullopt;
    return v;
}
}  // namespace

std::optional<int> button(std::string_view answer, const std::vector<std::string>& labels) {
    const std::string_view a = trim(answer);
    if (auto n = number(a); n && *n >= 1 && *n <= static_cast<long>(labels.size()))
        return static_cast<int>(*n);
    const std::string want = lower(a);
    if (want.empty()) return std::nullopt;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::string l = lower(plainLabel(labels[i]));
        // "why" presses "&WHY?" too.
        if (l == want || (l.ends_with('?') && l.substr(0, l.size() - 1) == want)) return static_cast<int>(i + 1);
    }
    // y / n for the Yes and No buttons.
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::string l = lower(plainLabel(labels[i]));
        if ((want == "y" && l == "yes") || (want == "n" && l == "no")) return static_cast<int>(i + 1);
    }
    return std::nullopt;
}

std::optional<std::size_t> choice(std::string_view answer, std::size_t count) {
    auto n = number(trim(answer));
    if (!n || *n < 1 || static_cast<unsigned long>(*n) > count) return std::nullopt;
    return static_cast<std::size_t>(*n - 1);
}

std::optional<std::vector<std::size_t>> choices(std::string_view answer, std::size_t count) {
    std::vector<std::string> words;
    std::string word;
    auto flush = [&] {
        if (!word.empty()) words.push_back(word);
        word.clear();
    };
    for (char c : answer) {
        if (c == ',' || std::isspace(static_cast<unsigned char>(c))) flush();
        else word += c;
    }
    flush();
    if (words.size() == 1 && words.front() == "0") return std::vector<std::size_t>{};
    if (words.empty()) return std::nullopt;
    std::set<std::size_t> picked;
    for (const auto& w : words) {
        auto c = choice(w, count);
        if (!c) return std::nullopt;
        picked.insert(*c);
    }
    return std::vector<std::size_t>(picked.begin(), picked.end());
}

}  // namespace answers

namespace {
const std::vector<std::string> kYesNoLabels{texts::kYes, texts::kNo};

std::string joinLabels(const std::vector<std::string>& labels) {
    std::string out;
    for (const auto& l : labels) {
        if (!out.empty()) out += " / ";
        out += answers::plainLabel(l);
    }
    return out;
}

std::string join(const std::vector<std::string>& items, const char* sep) {
    std::string out;
    for (const auto& s : items) {
        if (!out.empty()) out += sep;
        out += s;
    }
    return out;
}
}  // namespace

namespace {
/// "RPT" from "*.RPT" or "RU*.AEB"; empty for "*", "*.*" or "*.t?t".
std::string extensionOf(std::string_view pattern) {
    const auto dot = pattern.rfind('.');
    if (dot == std::string_view::npos) return {};
    const std::string_view ext = pattern.substr(dot + 1);
    if (ext.empty() || ext.find_first_of("*?[]/\\") != std::string_view::npos) return {};
    return std::string(ext);
}
}  // namespace

std::string defaultSuffix(const FileDialog& dialog) {
    if (auto ext = extensionOf(dialog.mask); !ext.empty()) return ext;
    return dialog.filters.empty() ? std::string() : extensionOf(dialog.filters.front().pattern);
}

std::string withDefaultSuffix(const std::string& path, const FileDialog& dialog) {
    const std::filesystem::path p(path);
    const std::string name = p.filename().string();
    if (name.empty() || name == "." || name == ".." || name.find('.') != std::string::npos) return path;
    const std::string ext = defaultSuffix(dialog);
    return ext.empty() ? path : path + "." + ext;
}

std::string resolveTypedPath(const std::string& typed, const std::filesystem::path& directory) {
    if (typed.empty()) return {};
    std::filesystem::path p(typed);
    if (p.is_relative() && !directory.empty()) p = directory / p;
    return p.lexically_normal().string();
}

std::optional<std::string> TextPort::show(const Dialog& d) {
    present(d);
    if (!d.takesInput) return std::nullopt;
    return answer(d);
}

std::optional<std::string> TextPort::showUntil(const Dialog& d, const Acceptable& acceptable,
                                               const char* closeQuestion) {
    present(d);
    while (true) {
        auto a = answer(d);
        if (!a) return a;
        if (closeQuestion && answers::plainLabel(*a) == "end") {
            if (yesNo(titles::kAttention, closeQuestion) == kYes) throw EndProgram{};
            present(d);
            continue;
        }
        if (acceptable.accepts(*a)) return a;
        // A mistyped answer must not count as No or cancel: say what is accepted, read again.
        present({"?", acceptable.described, "", "", {}, false});
    }
}

std::optional<std::string> TextPort::showWithEnd(const Dialog& d, const char* closeQuestion) {
    return showUntil(d, {[](const std::string&) { return true; }, ""}, closeQuestion);
}

namespace {
TextPort::Acceptable buttonAnswers(const std::vector<std::string>& labels) {
    std::string described;
    for (std::size_t i = 1; i <= labels.size(); ++i) described += std::to_string(i) + ", ";
    for (const auto& l : labels) {
        std::string plain = answers::plainLabel(l);
        for (char& c : plain) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (plain.ends_with('?')) plain.pop_back();
        described += plain + ", ";
        if (plain == "yes") described += "y, ";
        if (plain == "no") described += "n, ";
    }
    described.resize(described.size() - 2);
    return {[labels](const std::string& a) { return answers::button(a, labels).has_value(); }, described};
}

/// Pick-one lists: a number, or an empty line for closing without a choice.
TextPort::Acceptable itemAnswer(std::size_t count) {
    return {[count](const std::string& a) {
                return a.find_first_not_of(" \t") == std::string::npos || answers::choice(a, count).has_value();
            },
            "an item number 1 to " + std::to_string(count) + ", or an empty line to close"};
}

// Only the terminal needs to say how a record is chosen.
constexpr const char* kRecordWindowPrompt = "Type a number from the list to see its record; an empty line closes.";

bool isBlank(const std::string& a) { return a.find_first_not_of(" \t") == std::string::npos; }

TextPort::Acceptable radioAnswer(std::size_t count, bool closable) {
    return {[count](const std::string& a) { return isBlank(a) || answers::choice(a, count).has_value(); },
            "a number from 1 to " + std::to_string(count) +
                (closable ? ", or an empty line to close" : ", or an empty line for the preselected one")};
}
}  // namespace

void TextPort::note(const std::string& title, const std::string& text) {
    show({"note", title, text, "", {}, false});
}

void TextPort::findingNote(Diagnosis, const std::string& title, const std::string& text) { note(title, text); }

int TextPort::yesNo(const std::string& title, const std::string& text) {
    auto a = showUntil({"yes/no", title, text, joinLabels(kYesNoLabels), {}, true}, buttonAnswers(kYesNoLabels));
    if (!a) return kNo;
    return answers::button(*a, kYesNoLabels).value_or(kNo);
}

int TextPort::ask(const std::string& title, const std::string& text,
                  const std::vector<std::string>& buttons) {
    auto a = showUntil({"ask", title, text, joinLabels(buttons), {}, true}, buttonAnswers(buttons));
    if (!a) return 2;
    return answers::button(*a, buttons).value_or(2);
}

std::optional<std::string> TextPort::inputString(const std::string& title, const std::string& prompt,
                                                 const std::string& initial) {
    return show({"input", title, initial, prompt, {}, true});
}

std::string TextPort::fileDialog(const char* kind, const FileDialog& dialog) {
    std::vector<std::string> filters;
    for (const auto& f : dialog.filters) filters.push_back(f.label + " | " + f.pattern);
    auto a = show({kind, dialog.title, join(filters, "\n"), dialog.mask, {}, true});
    if (!a) return {};
    return resolveTypedPath(*a, dialog.directory);
}

std::string TextPort::openFile(const FileDialog& dialog) { return fileDialog("open file", dialog); }
std::string TextPort::saveFile(const FileDialog& dialog) {
    while (true) {
        std::string path = fileDialog("save file", dialog);
        if (!path.empty()) path = withDefaultSuffix(path, dialog);
        std::error_code ec;
        if (path.empty() || !dialog.confirmOverwrite || !std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
            return path;
        const std::string name = std::filesystem::path(path).filename().string();
        if (yesNo(dialog.title, "The file " + name + " already exists.\nDo you wish to replace it?") == kYes)
            return path;
    }
}

std::optional<std::string> TextPort::subdirectoryDialog(const FileDialog& dialog) {
    auto a = show({"folder", dialog.title, dialog.directory.string(), texts::kSubdirectoryPrompt, {}, true});
    if (!a || a->find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    return a;
}

std::optional<std::string> TextPort::pickRuleForFlattening(const std::vector<std::string>& lines) {
    auto a = showUntil({"pick one", titles::kPickRuleForFlattening, "", texts::kRuleForFlatteningHeading, lines, true},
                       itemAnswer(lines.size()));
    if (!a) return std::nullopt;
    if (auto c = answers::choice(*a, lines.size())) return lines[*c];
    return std::nullopt;
}

void TextPort::importedFacts(const std::vector<std::string>& facts,
                             const std::vector<std::string>& values) {
    std::string text = std::string(texts::kImportedFactsCaption) + "\n" + join(facts, "\n") + "\n" +
                       texts::kImportedValuesCaption + "\n" + join(values, "\n");
    show({"window", titles::kImportedFacts, text, "", {}, false});
}

std::optional<std::size_t> TextPort::pickExternalData(const std::vector<std::string>& items) {
    auto a = showUntil({"pick one", titles::kExternalData, "", texts::kExternalDataCaption, items, true},
                       itemAnswer(items.size()));
    return a ? answers::choice(*a, items.size()) : std::nullopt;
}

std::optional<std::size_t> TextPort::pickDataSource(const std::vector<std::string>& sources) {
    auto a = showUntil({"pick one", titles::kExternalSources, "", texts::kExternalSourcesCaption, sources, true},
                       itemAnswer(sources.size()));
    return a ? answers::choice(*a, sources.size()) : std::nullopt;
}

int TextPort::radio(const char* title, const texts::RadioChoice& choice) {
    const std::vector<std::string> buttons{choice.first, choice.second};
    auto a = showUntil({"radio", title, choice.prompt, "", buttons, true}, radioAnswer(buttons.size(), choice.closable));
    if (!a || isBlank(*a)) return choice.closable ? kRadioClosed : choice.preselected;
    if (auto c = answers::choice(*a, buttons.size())) return static_cast<int>(*c + 1);
    return choice.preselected;
}

int TextPort::typeOfHypothesis() {
    return radio(titles::kTypeOfHypothesis, texts::kTypeOfHypothesis);
}

int TextPort::levelOfDetail() {
    return radio(titles::kLevelOfDetail, texts::kLevelOfDetail);
}

int TextPort::factDeclarationMode() {
    return radio(titles::kFactDeclarationMode, texts::kFactDeclarationMode);
}

void TextPort::showGraphics(const std::filesystem::path& bitmap) {
    show({"graphics", titles::kGraphicsView, bitmap.filename().string(), "", {}, false});
}

void TextPort::showAdvice(const std::string& fileName, const std::string& text) {
    show({"advice", titles::kAdviceView, text, fileName, {}, false});
}

std::optional<std::string> TextPort::argumentValue(const std::string& argument) {
    Dialog d{"value", titles::kArgumentValue,
             std::string(texts::kArgumentValuePrompt) + "\n" + argument + " " + texts::kArgumentValueEquals, "", {}, true};
    return showWithEnd(d, titles::kCloseQuestionArgument);
}

void TextPort::message(const std::string& caption, const std::vector<std::string>& lines) {
    show({"message", titles::kMessage, join(lines, "\n"), caption, {}, false});
}

template <class Accepted>
std::optional<std::string> TextPort::showList(const Dialog& d, const std::string& takes, Accepted accepted) {
    while (true) {
        auto a = showWithEnd(d, titles::kCloseQuestion);
        // A mistyped answer must not pass for a closed list: that records facts.
        if (!a || a->empty() || accepted(*a)) return a;
        present({"?", takes, "", "", {}, false});
    }
}

std::optional<std::vector<std::size_t>> TextPort::pickFacts(const std::string& caption,
                                                            const std::vector<std::string>& items) {
    const std::size_t n = items.size();
    auto a = showList({"pick several", titles::kPickFacts, "", caption, items, true},
                      "item numbers 1 to " + std::to_string(n) +
                          " separated by blanks or commas, 0 for none, end, or an empty line to close",
                      [n](const std::string& x) { return answers::choices(x, n).has_value(); });
    if (!a || a->empty()) return std::nullopt;
    return answers::choices(*a, n);
}

std::optional<std::size_t> TextPort::pickFact(const std::string& caption,
                                              const std::vector<std::string>& items) {
    const std::size_t n = items.size();
    auto a = showList({"pick one", titles::kPickFact, "", caption, items, true},
                      "an item number 1 to " + std::to_string(n) + ", end, or an empty line to close",
                      [n](const std::string& x) { return answers::choice(x, n).has_value(); });
    return a ? answers::choice(*a, n) : std::nullopt;
}

void TextPort::showAbstract(const std::string& header, const std::string& text) {
    show({"abstract", titles::kAbstract, text, header, {}, false});
}

std::optional<std::string> TextPort::pickMediaFile(MediaKind kind, const std::string& baseName,
                                                   const std::vector<std::string>& files) {
    const char* title = titles::kMelodyPicker;
    const texts::MediaPicker* picker = &texts::kMelodyPicker;
    if (kind == MediaKind::Graphics) {
        title = titles::kGraphicsPicker;
        picker = &texts::kGraphicsPicker;
    } else if (kind == MediaKind::Advice) {
        title = titles::kAdvicePicker;
        picker = &texts::kAdvicePicker;
    }
    const std::string caption = std::string(picker->baseLabel) + " " + baseName + "\n" + picker->pickPrompt;
    auto a = showUntil({"pick one", title, "", caption, files, true}, itemAnswer(files.size()));
    if (!a) return std::nullopt;
    if (auto c = answers::choice(*a, files.size())) return files[*c];
    return std::nullopt;
}

void TextPort::about() {
    show({"about", titles::kAbout, std::string(texts::kProgramName) + "\n" + texts::kAboutDescription, "", {}, false});
}

void TextPort::textView(const std::string& title, const std::string& text) {
    show({"text view", title, text, "", {}, false});
}

void TextPort::askablesWindow(const std::string& heading, const std::vector<std::string>& lines) {
    show({"askables", texts::kAskablesWindowTitle, heading, "", lines, false});
}

void TextPort::recordWindow(std::shared_ptr<const RecordSource> source) {
    const RecordLayout& l = source->layout();
    auto trimmed = [](const std::string& s) {
        const auto from = s.find_first_not_of(' ');
        return from == std::string::npos ? std::string() : s.substr(from, s.find_last_not_of(' ') - from + 1);
    };
    // Models list their numbers as their first field.
    const std::string listLabel = !l.numberLabel.empty() ? l.numberLabel : l.fields.empty() ? "Number" : l.fields[0];
    std::string list;
    if (!l.heading.empty()) list += l.heading + "\n";
    if (!l.formula.empty()) list += l.formula + "\n";
    for (const auto& [label, n] : l.counts) list += label + ": " + std::to_string(n) + "\n";
    list += listLabel + ":\n";
    for (std::size_t i = 0; i < source->count(); ++i) list += "   " + std::to_string(source->number(i)) + "\n";

    // The first entry of a number: a base may hold one number twice.
    auto find = [&](const std::string& a) -> std::optional<std::size_t> {
        const std::string t = trimmed(a);
        std::int64_t wanted = 0;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), wanted);
        if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
        for (std::size_t i = 0; i < source->count(); ++i)
            if (source->number(i) == wanted) return i;
        return std::nullopt;
    };
    const Acceptable numberOrClose{[&](const std::string& a) { return isBlank(a) || find(a).has_value(); },
                                   "a " + listLabel + " of the list, or an empty line to close"};
    Dialog d{"window", l.title, list, kRecordWindowPrompt, {}, true};
    while (true) {
        const auto a = showUntil(d, numberOrClose);
        if (!a || isBlank(*a)) return;
        const std::size_t i = *find(*a);
        const RecordEntry e = source->entry(i);
        std::string text = listLabel + ": " + std::to_string(source->number(i)) + "\n";
        for (std::size_t k = l.numberLabel.empty() ? 1 : 0; k < l.fields.size() && k < e.fields.size(); ++k)
            text += l.fields[k] + ": " + e.fields[k] + "\n";
        for (std::size_t k = 0; k < l.groups.size() && k < e.groups.size(); ++k)
            text += trimmed(l.groups[k]) + ": [" + join(e.groups[k], ", ") + "]\n";
        show({"record", l.title, text, "", {}, false});
        d = {"window", l.title, "", kRecordWindowPrompt, {}, true};
    }
}

void TextPort::graphicsWindow(const std::filesystem::path& bitmap) {
    show({"graphics", texts::kGraphicsWindowTitle, bitmap.filename().string(), "", {}, false});
}

void TextPort::playSound(const std::filesystem::path& wave) {
    show({"sound", wave.filename().string(), "", "", {}, false});
}

std::optional<std::string> TextPort::editedText(const EditSession& session, const std::string& text) {
    const Dialog d{"editor", session.title(), text, texts::kEditorScriptPrompt, {}, true};
    present(d);
    std::string edited;
    while (auto line = answer(d)) {
        if (*line == ".") return edited;
        edited += *line == ".." ? std::string(".") : *line;
        edited += '\n';
    }
    return std::nullopt;
}

void TextPort::editFile(std::shared_ptr<EditSession> session, bool) {
    std::string text;
    if (session->text()) {
        text = *session->text();
        // Input that ends inside the text is answered No by the save question.
        if (auto edited = editedText(*session, text)) text = std::move(*edited);
    }
    while (!session->closeRequested(text)) {
    }
    session->closed();
}

void TextPort::openHelp(const std::filesystem::path& file) {
    show({"help", file.filename().string(), "", "", {}, false});
}

void TextPort::setTitle(const std::string& title) { show({"title", title, "", "", {}, false}); }

bool TextPort::progress(const std::string&, std::uint64_t, std::uint64_t) { return true; }

}  // namespace torv::port
