// Shows the busy cursor for as long as it lives; the previous cursor comes
// back however the scope is left.
#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace quillprint {

class TBusyCursor {
public:
    TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace quillprint
