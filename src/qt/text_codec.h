// Texts of the core (bytes of the base files) as Qt strings and back.
#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

namespace torv::qt {

/// A core text for display: valid UTF-8 is read as UTF-8, anything else as
/// Windows-1250 (the code page of older knowledge bases).
QString toQ(const std::string& bytes);
QStringList toQ(const std::vector<std::string>& lines);
/// True when the bytes are valid UTF-8 (and so shown as UTF-8).
bool isUtf8(const std::string& bytes);
/// Text as Windows-1250 bytes; characters outside the code page become '?'.
std::string toCp1250(const QString& text);
/// A typed text back to the core, as UTF-8.
std::string fromQ(const QString& text);
/// A file name from a dialog, in the file system's own encoding.
std::string pathFromQ(const QString& path);
/// A core path for Qt's file functions.
QString pathToQ(const std::string& path);

}  // namespace torv::qt
