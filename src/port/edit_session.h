// EditSession: the core's side of an editor window. A port shows the text
// and hands every save, close request and check back to the session, which
// writes the file, the messages and the notes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace torv::port {

/// The first fault the term reader finds in an edited base file.
struct TextFault {
    int line = 0;        // 1-based
    int position = 0;    // 1-based byte of the line (UTF-8); 0 for the whole line
    std::string message;
};

class EditSession {
public:
    virtual ~EditSession() = default;

    /// The file the window saves to.
    virtual const std::filesystem::path& file() const = 0;
    /// The window's title.
    virtual std::string title() const = 0;
    /// The file's text as UTF-8 with "\n" line ends; nullopt when it could
    /// not be read (the user has been told why, and nothing can be saved).
    virtual const std::optional<std::string>& text() const = 0;

    /// "Save": true when the text is on disk and the window is to close.
    virtual bool save(const std::string& text) = 0;
    /// "Save as": asks for a file; true when the text is on disk there and
    /// the window is to close.
    virtual bool saveAs(const std::string& text) = 0;
    /// The window is asked to close: the save question. True when it may
    /// close; false when the user wanted the text saved and that failed.
    virtual bool closeRequested(const std::string& text) = 0;
    /// The window has closed.
    virtual void closed() = 0;

    /// True for base files, which the term reader can check.
    virtual bool checkable() const = 0;
    /// Reads the text as loading would; the first fault, or nullopt.
    virtual std::optional<TextFault> check(const std::string& text) const = 0;
};

}  // namespace torv::port
