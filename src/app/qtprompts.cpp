#include "qtprompts.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
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

void QtPrompts::message(const std::string& caption, const std::string& text) {
    // A notice has nothing to choose: OK alone. What follows the first blank line (the path
    // and the reason) is shown under the message in smaller type.
    const QString whole = QString::fromStdString(text);
    const qsizetype detail = whole.indexOf(QStringLiteral("\n\n"));
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(caption), whole.left(detail),
                    QMessageBox::Ok, parent_);
    // A name from a file is never markup.
    box.setTextFormat(Qt::PlainText);
    if (detail >= 0)
        box.setInformativeText(whole.mid(detail + 2)
                                   .toHtmlEscaped()
                                   .replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    box.exec();
}

bool QtPrompts::ask(const std::string& caption, const std::string& text, Preferred preferred) {
    return QMessageBox::question(parent_, QString::fromStdString(caption),
                                 QString::fromStdString(text), QMessageBox::Yes | QMessageBox::No,
                                 preferred == Preferred::no ? QMessageBox::No : QMessageBox::Yes) ==
           QMessageBox::Yes;
}

std::optional<std::string> QtPrompts::askText(const std::string& caption, const std::string& label,
                                              const std::string& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, QString::fromStdString(caption),
                                               QString::fromStdString(label), QLineEdit::Normal,
                                               QString::fromStdString(initial), &ok);
    return ok ? std::optional(text.toStdString()) : std::nullopt;
}

Prompts::Unsaved QtPrompts::askUnsaved(const std::string& caption, const std::string& text) {
    switch (QMessageBox::warning(
        parent_, QString::fromStdString(caption), QString::fromStdString(text),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save)) {
    case QMessageBox::Save:
        return Unsaved::save;
    case QMessageBox::Discard:
        return Unsaved::discard;
    default: // Escape and the window's close button
        return Unsaved::cancel;
    }
}

std::optional<std::string> QtPrompts::openFile(const FileDialog& dialog) {
    return runFileDialog(dialog, false);
}

std::optional<std::string> QtPrompts::saveFile(const FileDialog& dialog) {
    return runFileDialog(dialog, true);
}

void PrepareFileDialog(QFileDialog& fileDialog, const Prompts::FileDialog& dialog, bool save) {
    fileDialog.setDirectory(dialog.initialDir.empty() ? QDir::currentPath()
                                                      : QString::fromStdString(dialog.initialDir));
    fileDialog.setNameFilter(QtFileFilter(QString::fromStdString(dialog.filter)));
    fileDialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fileDialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    fileDialog.setDefaultSuffix(QString::fromStdString(dialog.defaultSuffix));
}

std::optional<std::string> QtPrompts::runFileDialog(const FileDialog& dialog, bool save) {
    QFileDialog fileDialog(parent_);
    PrepareFileDialog(fileDialog, dialog, save);
    if (fileDialog.exec() != QDialog::Accepted || fileDialog.selectedFiles().isEmpty())
        return std::nullopt;
    return fileDialog.selectedFiles().constFirst().toStdString();
}
