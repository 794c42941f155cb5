#pragma once

#include <QObject>
#include <functional>

// Runs a function for the events of one object (a key released, the focus
// coming in); returning true eats the event. Owned by the watched object.
class TEventHook : public QObject {
public:
    TEventHook(QObject *watched, std::function<bool(QEvent *)> handler)
        : QObject(watched), FHandler(std::move(handler)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override { return FHandler(event); }

private:
    std::function<bool(QEvent *)> FHandler;
};
