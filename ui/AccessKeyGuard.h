// Alt + letter belongs to the window's access keys: a text box it is
// installed on never types the letter, whether or not a command has that key.
#pragma once

#include <QEvent>
#include <QKeyEvent>
#include <QObject>

namespace quillprint {

class TAccessKeyGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShortcutOverride && IsAccessKey(*static_cast<QKeyEvent*>(event))) {
            // Leave it to the window's shortcuts.
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress && IsAccessKey(*static_cast<QKeyEvent*>(event))) return true;
        return QObject::eventFilter(watched, event);
    }

private:
    // Alt alone (Ctrl+Alt is AltGr on some keyboards and types characters).
    static bool IsAccessKey(const QKeyEvent& key) {
        const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
        return modifiers == Qt::AltModifier && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z;
    }
};

}  // namespace quillprint
