#include "qtprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The description may already show its pattern, "Project files (*.prj)".
        QString text = parts[i];
        text.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            for (const QString& spelling : {pattern.toLower(), pattern.toUpper()})
                if (!patterns.contains(spelling))
                    patterns << spelling;
        }
        entries << text + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return entries.join(QStringLiteral(";;"));
}

void QtPrompts::message(const QString& caption, const QString& text) {
    QMessageBox::warning(parent_, caption, text, QMessageBox::Ok | QMessageBox::Cancel);
}

bool QtPrompts::ask(const QString& caption, const QString& text) {
    return QMessageBox::question(parent_, caption, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<QString> QtPrompts::openFile(const FileDialog& dialog) {
    return runFileDialog(dialog, false);
}

std::optional<QString> QtPrompts::saveFile(const FileDialog& dialog) {
    return runFileDialog(dialog, true);
}

void PrepareFileDialog(QFileDialog& fileDialog, const Prompts::FileDialog& dialog, bool save) {
    fileDialog.setDirectory(dialog.initialDir.isEmpty() ? QDir::currentPath() : dialog.initialDir);
    fileDialog.setNameFilter(QtFileFilter(dialog.filter));
    fileDialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fileDialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    fileDialog.setDefaultSuffix(dialog.defaultSuffix);
}

std::optional<QString> QtPrompts::runFileDialog(const FileDialog& dialog, bool save) {
    QFileDialog fileDialog(parent_);
    PrepareFileDialog(fileDialog, dialog, save);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().constFirst();
}
