#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop when the process receives SIGTERM or SIGINT, so that the windows are
// released as after a normal close. The handler only writes to a pipe; the quit itself
// runs in the event loop.
class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;
    QuitOnSignal(const QuitOnSignal&) = delete;
    QuitOnSignal& operator=(const QuitOnSignal&) = delete;

    // A signal arrived; the main loop must not start (again) after it.
    bool quitRequested() const { return quitRequested_; }

private:
    void readSignal();

    QSocketNotifier* notifier_ = nullptr;
    bool quitRequested_ = false;
};
