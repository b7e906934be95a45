#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <functional>

namespace pordex::test {

// Lets the event loop run until `done` holds or the time is up; the result is `done`'s last value.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QTest::qWait(10);
    }
    return true;
}

// The visible top-level window of the given type and object name, or null.
template <class W = QWidget>
W* visibleWindow(const QString& objectName) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->objectName() == objectName)
            if (auto* typed = qobject_cast<W*>(w)) return typed;
    return nullptr;
}

}  // namespace pordex::test
