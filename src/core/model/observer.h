#pragma once

#include <utility>

// Whoever shows a thermal or waypoint on screen hears through this when its place or look
// changes and when it is gone, so the values need not know how they are shown.
class ValueObserver {
public:
    enum class Change {
        place, // latitude or longitude
        look,  // what the glyph is drawn from: type, wind direction, cloud, active
    };
    virtual void ValueChanged(Change change) = 0;
    // The value is being destroyed; the observer must not touch it afterwards.
    virtual void ValueGone() = 0;

protected:
    ~ValueObserver() = default;
};

// The one observer of a value. It stays with the value it was given to: a copy of the value
// starts without one.
class ObserverSlot {
public:
    ObserverSlot() = default;
    ObserverSlot(const ObserverSlot&) {}
    ObserverSlot& operator=(const ObserverSlot&) { return *this; }
    ~ObserverSlot() {
        if (observer_)
            observer_->ValueGone();
    }

    void Set(ValueObserver* observer) { observer_ = observer; }
    // The value lives on out of sight (kept for an undo): its observer goes as if the value
    // were destroyed.
    void Release() {
        if (ValueObserver* observer = std::exchange(observer_, nullptr))
            observer->ValueGone();
    }
    void Notify(ValueObserver::Change change) const {
        if (observer_)
            observer_->ValueChanged(change);
    }

private:
    ValueObserver* observer_ = nullptr;
};
