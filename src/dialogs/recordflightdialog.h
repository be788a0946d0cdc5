#pragma once

#include "flight/igcwriter.h"

#include <array>
#include <optional>

#include <QDialog>

class QLineEdit;

// Asks who flies what before a flight is recorded: the pilot, the glider type and its
// registration, as the log's header will name them.
class RecordFlightDialog : public QDialog {
    Q_OBJECT
public:
    // Starts with the names of the last recording.
    explicit RecordFlightDialog(const IgcLogHeader& names, QWidget* parent = nullptr);

    // The names typed; the date is left to the recording.
    IgcLogHeader names() const;

private:
    std::array<QLineEdit*, 3> edits_{}; // pilot, glider type, glider id
};

// Shows the dialog and waits for it: the names, or nothing when the user cancels.
std::optional<IgcLogHeader> AskRecordingNames(const IgcLogHeader& names, QWidget* parent);
