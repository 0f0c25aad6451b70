// The session behind every editor window.
#include "shell/editing.h"

#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "kb/base_file.h"
#include "kb/file_io.h"
#include "kb/text_encoding.h"
#include "port/texts.h"
#include "port/user_port.h"
#include "state/app_state.h"
#include "state/command_ids.h"
#include "state/menu_state.h"

namespace torv::shell {

namespace {

namespace fs = std::filesystem;

constexpr const char* kAttentionError = "Attention error!";

/// What one way of saving says once the file is on disk.
struct SavedTexts {
    const char* messageStart;   // + path
    const char* messageEnd;
    const char* noteStart;      // + file name
    const char* noteEnd;
};
constexpr SavedTexts kSave{"File : ", " has been saved\n", "File ", " has been saved"};
constexpr SavedTexts kSaveAs{"New base: ", " has been saved\n", "New base: ", " has been saved."};
constexpr SavedTexts kSaveOnClose{"File: ", " has been saved.\n", "File: ", " has been saved."};

class FileEditSession final : public port::EditSession {
public:
    FileEditSession(AppState& app, fs::path file) : app_(app), file_(std::move(file)) {
        app_.messages.write("If you wish to edit yet another base or abstract file, click this window!\n");
        kb::ReadResult read = kb::readRegularFile(file_, kb::kMaxBaseFileBytes);
        if (read.ok()) {
            kb::DecodedText d = kb::decodeForEditing(read.bytes);
            text_ = std::move(d.utf8);
            format_ = d.format;
        } else if (read.fault == kb::ReadResult::Fault::Missing) {
            text_ = std::string();   // a name typed in the dialog: saving creates it
        } else {
            app_.messages.write("File " + file_.string() + " cannot be edited: " + read.error + "\n");
            app_.port.note(kAttentionError, "File " + name(file_) + " cannot be edited.\n" + read.error);
        }
    }

    const fs::path& file() const override { return file_; }
    std::string title() const override { return std::string(port::texts::kEditorTitle) + name(file_); }
    const std::optional<std::string>& text() const override { return text_; }

    bool save(const std::string& text) override { return write(file_, text, kSave); }

    bool saveAs(const std::string& text) override {
        port::FileDialog d{title(), "*.*", {{"All files (*.*)", "*.*"}}, file_.parent_path()};
        const std::string chosen = app_.port.saveFile(d);
        if (chosen.empty()) return false;
        return write(app_.resolve(chosen), text, kSaveAs);
    }

    bool closeRequested(const std::string& text) override {
        greyWhileEditing(app_.menu);
        if (!text_) return true;   // nothing was read, so there is nothing to save
        if (app_.port.yesNo("Saving", "Do you wish to save the base ?") != port::kYes) return true;
        return write(file_, text, kSaveOnClose);
    }

    void closed() override {
        app_.store.nazwa_re.reset();
        app_.messages.recreate();
    }

    bool checkable() const override { return kind().has_value(); }

    std::optional<port::TextFault> check(const std::string& text) const override {
        const auto k = kind();
        if (!k) return std::nullopt;
        auto read = kb::parseBaseText(*k, text);
        const auto* e = std::get_if<kb::ReadError>(&read);
        if (!e) return std::nullopt;
        return port::TextFault{e->line, e->position, e->message};
    }

private:
    static std::string name(const fs::path& p) { return p.filename().string(); }
    std::optional<kb::BaseKind> kind() const { return kb::baseKindOfFile(name(file_)); }

    /// Writes the text in the file's encoding and line ends, in one atomic
    /// save; says why when it cannot, and then the window stays open.
    bool write(const fs::path& target, const std::string& text, const SavedTexts& said) {
        if (!text_) return false;
        // A fault is said, never a reason to refuse: the author may save half-done work.
        if (const auto fault = check(text))
            app_.messages.write("Check of " + name(file_) + ": line " + std::to_string(fault->line) +
                                (fault->position > 0 ? ", position " + std::to_string(fault->position) : "") +
                                ": " + fault->message + "\n");
        const kb::EncodedText encoded = kb::encodeForSaving(text, format_);
        if (!encoded.bytes) return refuse(target, unencodable(encoded.fault));
        if (const kb::FileResult r = kb::saveFileAtomically(target, *encoded.bytes); !r.ok)
            return refuse(target, r.error);
        app_.messages.write(said.messageStart + target.string() + said.messageEnd);
        app_.port.note(port::titles::kAttention, said.noteStart + name(target) + said.noteEnd);
        return true;
    }

    std::string unencodable(const kb::EncodingFault& f) const {
        const std::string place = " in line " + std::to_string(f.line) + ", column " + std::to_string(f.column);
        if (f.character.empty())
            return "the text is not UTF-8" + place;
        return "the character " + f.character + " (" + kb::codePointName(f.codePoint) + ")" + place +
               " cannot be written in the file's code page (Windows-1250)";
    }

    bool refuse(const fs::path& target, const std::string& why) {
        app_.messages.write("File " + target.string() + " has not been saved: " + why + "\n");
        app_.port.note(kAttentionError, "File " + name(target) + " has not been saved.\n" + why);
        return false;
    }

    AppState& app_;
    fs::path file_;
    std::optional<std::string> text_;
    kb::TextFormat format_;
};

}  // namespace

void greyWhileEditing(MenuState& menu) {
    using namespace cmd;
    menu.grey({kInspectingSingleRule, kInspectingAllRules, kAskableConditions, kLinearModels, kBasicModels,
               kExtendedModels, kPolynomialModels, kModelAskables, kJointModelRuleAskables,
               kInspectingSingleConstraint, kInspectingAllConstraints});
}

void openEditor(AppState& app, const fs::path& file) {
    const bool wrap = app.port.yesNo("Wrap/unwrap", "Wraping the text?") == port::kYes;
    app.port.editFile(std::make_shared<FileEditSession>(app, file), wrap);
}

}  // namespace torv::shell
