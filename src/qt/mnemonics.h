// Keyboard mnemonics for menus whose texts are given without them.
#pragma once

#include <QStringList>

namespace torv::qt {

/// The texts of sibling menu entries, each with a '&' mnemonic that no
/// sibling shares where a free letter allows. A text that has its own '&'
/// keeps it; with `reassignShared`, a later text whose own letter an
/// earlier sibling already uses gets another one.
QStringList withMnemonics(const QStringList& texts, bool reassignShared = false);

/// The mnemonic letter of a text (lower case), or a null QChar.
QChar mnemonicOf(const QString& text);

}  // namespace torv::qt
