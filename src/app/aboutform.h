#pragma once

#include <QWidget>

// The About window: a fixed-size window with the program's name and the credit line,
// shown without blocking the main window.
class TAbout : public QWidget {
    Q_OBJECT
public:
    explicit TAbout(QWidget* parent = nullptr);
};
