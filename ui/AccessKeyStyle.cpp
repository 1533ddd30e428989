#include "ui/AccessKeyStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QStyleFactory>
#include <QWidget>

namespace quillprint {

TAccessKeyStyle::TAccessKeyStyle(QStyle* base) : QProxyStyle(base) {}

void TAccessKeyStyle::Install() {
    if (dynamic_cast<TAccessKeyStyle*>(QApplication::style())) return;
    // The same look as before, only the underlines follow the Alt key.
    auto* style = new TAccessKeyStyle(QStyleFactory::create(QApplication::style()->name()));
    QApplication::setStyle(style);
    qApp->installEventFilter(style);
}

int TAccessKeyStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                               QStyleHintReturn* returnData) const {
    if (hint == SH_UnderlineShortcut) return FShown ? 1 : 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool TAccessKeyStyle::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() != Qt::Key_Alt) break;
        // Alt alone: with Ctrl or Shift it is no access key.
        const Qt::KeyboardModifiers others = key->modifiers() & ~(Qt::AltModifier | Qt::KeypadModifier);
        setShown(event->type() == QEvent::KeyPress && others == Qt::NoModifier);
        break;
    }
    case QEvent::ApplicationDeactivate:
        // The release may go to another program or window.
        setShown(false);
        break;
    case QEvent::WindowDeactivate:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) setShown(false);
        break;
    default: break;
    }
    return QProxyStyle::eventFilter(watched, event);
}

void TAccessKeyStyle::setShown(bool shown) {
    if (shown == FShown) return;
    FShown = shown;
    // Captions are drawn by each widget: every widget of every window again.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        window->update();
        for (QWidget* child : window->findChildren<QWidget*>()) child->update();
    }
}

}  // namespace quillprint
