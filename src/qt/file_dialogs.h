// Open and save file dialogs over the port's FileDialog description. Masks
// match file names without regard to case: knowledge bases come from file
// systems that ignore case.
#pragma once

#include <QString>
#include <QStringList>

#include "port/user_port.h"

class QWidget;
class QFileDialog;

namespace torv::qt {

/// Name filters for Qt ("Rule Base (RU*.AEB)"), the initial mask first when
/// no filter carries it.
QStringList nameFilters(const port::FileDialog& dialog);

/// Sets up a non-native dialog (the native ones match case-sensitively).
void prepareFileDialog(QFileDialog& dlg, const port::FileDialog& dialog, bool save);

/// Runs the dialog; the chosen path, or an empty string when cancelled.
QString runFileDialog(const port::FileDialog& dialog, bool save, QWidget* parent);

}  // namespace torv::qt
