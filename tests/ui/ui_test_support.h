#pragma once

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "message_box.h"
#include "test_class_runner.h"

// Stands in for the message boxes: records each one and, if asked, runs a
// check while the "box" is open (the window is then in its busy state).
struct MessageRecorder {
    struct Message {
        veltrano::MessageIcon icon;
        QString title;
        QString text;
    };
    std::vector<Message> messages;
    std::function<void()> whileOpen;

    veltrano::MessageBoxFn fn() {
        return [this](QWidget*, veltrano::MessageIcon icon, const QString& title, const QString& text) {
            messages.push_back({icon, title, text});
            if (whileOpen) whileOpen();
        };
    }
};

// Runs `action` on the active modal window as soon as one is open; gives up
// after a few seconds so that no test can hang.
inline void whenModalOpens(std::function<void(QWidget*)> action, int attemptsLeft = 300) {
    QTimer::singleShot(10, [action = std::move(action), attemptsLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (attemptsLeft > 0) {
            whenModalOpens(std::move(action), attemptsLeft - 1);
        }
    });
}

template <class T = QWidget>
T* control(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromLatin1(name));
}

// Shows a window and makes it the active one (the keyboard goes to it).
inline bool shownActive(QWidget* window) {
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

// What a screen reader hears of a widget.
inline QString spoken(QWidget* widget, QAccessible::Text what = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(what);
}

// The stops Tab visits from the focused widget on, each by `nameOf`, until
// one comes again: the first, or else it is named once more.
inline QStringList tabStops(const std::function<QString(QWidget*)>& nameOf, int most = 40) {
    QStringList stops;
    QList<QWidget*> seen;
    QWidget* w = QApplication::focusWidget();
    for (; w && !seen.contains(w) && seen.size() < most; w = QApplication::focusWidget()) {
        seen << w;
        stops << nameOf(w);
        QTest::keyClick(w, Qt::Key_Tab);
    }
    if (w != seen.value(0)) stops << QStringLiteral("then ") + (w ? nameOf(w) : QStringLiteral("nothing"));
    return stops;
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// A widget's device pixels, as 32-bit RGB.
inline QImage grabbed(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}
