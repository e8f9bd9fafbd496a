#pragma once
// Helpers for widget tests on the offscreen platform: mouse drags in
// steps with the button held, a fixed locale for a test, reading a view's
// back buffer, and waiting for events rather than for a time.
#include "shell/backbufferview.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include <vector>

namespace widgettest {

// Presses at the first point, moves through the others with the button
// held, and releases at the last.
inline void DragSteps(QWidget* widget, const std::vector<QPoint>& points, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (points.empty())
        return;
    QTest::mousePress(widget, button, modifiers, points.front());
    for (size_t i = 1; i < points.size(); ++i) {
        QMouseEvent move(QEvent::MouseMove, points[i], widget->mapToGlobal(points[i]), Qt::NoButton, button,
                         modifiers);
        QApplication::sendEvent(widget, &move);
    }
    QTest::mouseRelease(widget, button, modifiers, points.back());
}

// Sets the default locale for its lifetime ("en_US", "de_DE").
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : m_previous(QLocale()) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }
    ~LocaleScope() { QLocale::setDefault(m_previous); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale m_previous;
};

// A copy of the pixels of a view's back buffer.
inline QImage BackBufferCopy(const CBackBufferView& view)
{
    return view.BackBuffer().copy();
}

// Shows a top-level widget and waits until it is on the (offscreen) screen.
inline bool ShowAndWait(QWidget* widget)
{
    widget->show();
    return QTest::qWaitForWindowExposed(widget);
}

// Waits until `widget` has handled a paint event (an update is asked for).
inline bool WaitForPaint(QWidget* widget)
{
    struct Filter : QObject {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* event) override
        {
            painted = painted || event->type() == QEvent::Paint;
            return false;
        }
    } filter;
    widget->installEventFilter(&filter);
    widget->update();
    const bool painted = QTest::qWaitFor([&] { return filter.painted; });
    widget->removeEventFilter(&filter);
    return painted;
}

// The timer called `name` among the children of `owner`.
inline QTimer* ChildTimer(const QObject* owner, const char* name)
{
    return owner->findChild<QTimer*>(QString::fromLatin1(name));
}

// Waits until the running timer `name` of `owner` has fired; false when it
// is not running (or does not fire).
inline bool WaitForTimer(const QObject* owner, const char* name)
{
    QTimer* timer = ChildTimer(owner, name);
    if (!timer || !timer->isActive())
        return false;
    QSignalSpy fired(timer, &QTimer::timeout);
    return fired.wait();
}

} // namespace widgettest
