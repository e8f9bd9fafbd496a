#pragma once
// Calls that the views post to each other instead of sending them: the
// call runs from the event loop after the current event is handled, and
// not at all when the receiver is gone by then.
#include <QMetaObject>
#include <QObject>

#include <utility>

// Runs `call` on `receiver`'s thread once the event loop is reached again.
template <typename Call>
void PostCall(QObject* receiver, Call&& call)
{
    QMetaObject::invokeMethod(receiver, std::forward<Call>(call), Qt::QueuedConnection);
}

// A window that is asked to go away: deleted once the event loop is reached
// again, so the call that asked may still use it until it returns.
inline void PostDestroy(QObject* object)
{
    if (object)
        object->deleteLater();
}
