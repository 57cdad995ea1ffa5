#pragma once

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "message_box.h"

// Stands in for the message boxes: records each one and, if asked, runs a
// check while the "box" is open (the window is then in its busy state).
struct MessageRecorder {
    struct Message {
        QWidget* parent;
        veltrano::MessageIcon icon;
        QString title;
        QString text;
    };
    std::vector<Message> messages;
    std::function<void()> whileOpen;

    veltrano::MessageBoxFn fn() {
        return [this](QWidget* parent, veltrano::MessageIcon icon, const QString& title, const QString& text) {
            messages.push_back({parent, icon, title, text});
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
