// Access keys (the underlined letter of a caption) shown only while Alt is
// held, as desktop programs do, in the window and in every dialog: a proxy
// of the application's style that answers the underline question by the
// state of the Alt key, and repaints the program's windows when it changes.
#pragma once

#include <QProxyStyle>

namespace quillprint {

class TAccessKeyStyle : public QProxyStyle {
public:
    // Puts this style over the application's own; once, later calls keep it.
    static void Install();
    // Alt is held in one of the program's windows.
    bool shown() const { return FShown; }

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TAccessKeyStyle(QStyle* base);
    void setShown(bool shown);

    bool FShown = false;
};

}  // namespace quillprint
