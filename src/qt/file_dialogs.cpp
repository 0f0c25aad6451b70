// File dialogs with case-insensitive masks.
#include "qt/file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QRegularExpression>

#include "qt/text_codec.h"

namespace torv::qt {

namespace {
bool hasWildcard(const QString& s) { return s.contains(QLatin1Char('*')) || s.contains(QLatin1Char('?')); }

/// The patterns Qt reads from a filter label: the text in its last brackets.
QString bracketed(const QString& label) {
    static const QRegularExpression re(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const auto m = re.match(label);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

QString filterString(const port::FileFilter& f) {
    const QString label = toQ(f.label);
    const QString pattern = toQ(f.pattern);
    if (pattern.isEmpty() || label == pattern) return label.isEmpty() ? pattern : label;
    if (bracketed(label).compare(pattern, Qt::CaseInsensitive) == 0) return label;
    if (label.isEmpty()) return pattern;
    return label + QStringLiteral(" (") + pattern + QLatin1Char(')');
}
}  // namespace

QStringList nameFilters(const port::FileDialog& dialog) {
    QStringList out;
    bool maskCovered = false;
    const QString mask = toQ(dialog.mask);
    for (const auto& f : dialog.filters) {
        out << filterString(f);
        if (toQ(f.pattern).compare(mask, Qt::CaseInsensitive) == 0) maskCovered = true;
    }
    if (hasWildcard(mask) && !maskCovered) out.prepend(mask);
    if (out.isEmpty()) out << QStringLiteral("*");
    return out;
}

void prepareFileDialog(QFileDialog& dlg, const port::FileDialog& dialog, bool save) {
    dlg.setWindowTitle(toQ(dialog.title));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // Without QDir::CaseSensitive the dialog's model matches masks ignoring case.
    dlg.setFilter(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::AllDirs);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A report typed as "report1" must be found again by "*.RPT".
    if (save) dlg.setDefaultSuffix(toQ(port::defaultSuffix(dialog)));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, save && !dialog.confirmOverwrite);
    if (!dialog.directory.empty()) dlg.setDirectory(pathToQ(dialog.directory.string()));

    const QStringList filters = nameFilters(dialog);
    dlg.setNameFilters(filters);
    const QString mask = toQ(dialog.mask);
    if (hasWildcard(mask)) {
        for (const auto& f : filters)
            if (f.compare(mask, Qt::CaseInsensitive) == 0 ||
                bracketed(f).compare(mask, Qt::CaseInsensitive) == 0) {
                dlg.selectNameFilter(f);
                break;
            }
    } else if (!mask.isEmpty()) {
        dlg.selectFile(mask);
    }
}

QString runFileDialog(const port::FileDialog& dialog, bool save, QWidget* parent) {
    QFileDialog dlg(parent);
    prepareFileDialog(dlg, dialog, save);
    QSize size(780, 480);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    dlg.resize(size);
    if (dlg.exec() != QDialog::Accepted) return {};
    const QStringList files = dlg.selectedFiles();
    return files.isEmpty() ? QString() : QDir::cleanPath(files.front());
}

}  // namespace torv::qt
