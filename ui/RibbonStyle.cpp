#include "ui/RibbonStyle.h"

namespace quillprint {

QString RibbonLunaStyleSheet() {
    return QStringLiteral(R"(
quillprint--TRibbon { background: #bfdbff; }
#ribbonTitleBar {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e3edf9, stop:1 #c4daf4);
    border-bottom: 1px solid #a5c4ea;
}
#ribbonCaption { color: #3e6aaa; }
#ribbonTabs { background: transparent; }
#ribbonTabs::tab {
    color: #15428b; background: transparent; border: 1px solid transparent;
    border-top-left-radius: 3px; border-top-right-radius: 3px;
    padding: 3px 14px; margin-left: 4px; margin-top: 2px;
}
#ribbonTabs::tab:selected {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #e4eefb);
    border: 1px solid #8db2e3; border-bottom: none;
}
#ribbonTabs::tab:hover:!selected { background: #dfeafa; border: 1px solid #b7cff0; border-bottom: none; }
#ribbonPanel {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #e4eefb, stop:0.25 #dae7f8, stop:1 #c7dcf5);
    border: 1px solid #8db2e3; border-radius: 3px;
}
#ribbonGroup {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f2f7fd, stop:0.75 #dce8f7, stop:1 #c9dcf3);
    border: 1px solid #9ebfe9; border-radius: 3px;
}
#ribbonGroupCaption {
    color: #15428b; background: #c2d8f2;
    border-top: 1px solid #a9c6ec; border-bottom-left-radius: 3px; border-bottom-right-radius: 3px;
    padding: 1px 4px 2px 4px;
}
#ribbonGroup QToolButton, #quickAccessToolbar QToolButton, #applicationMenuButton {
    color: #15428b; background: transparent; border: 1px solid transparent; border-radius: 3px;
    padding: 1px 3px;
}
#ribbonGroup QToolButton:hover, #quickAccessToolbar QToolButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fffbe0, stop:0.4 #ffe7a2, stop:1 #ffd86b);
    border: 1px solid #dbce99;
}
#ribbonGroup QToolButton:pressed, #quickAccessToolbar QToolButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f9b67b, stop:1 #fdd98c);
    border: 1px solid #c2976a;
}
#ribbonGroup QToolButton:checked, #quickAccessToolbar QToolButton:checked {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fcd9a8, stop:0.4 #fbc27d, stop:1 #fdd98c);
    border: 1px solid #c2976a;
}
#ribbonGroup QToolButton:checked:hover, #quickAccessToolbar QToolButton:checked:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbc98e, stop:1 #fcc96e);
}
#ribbonGroup QToolButton:disabled, #quickAccessToolbar QToolButton:disabled { color: #8d9cb3; }
#quickAccessToolbar QToolButton::menu-indicator { image: none; }
#ribbonGroup QToolButton::menu-button { border: none; background: transparent; width: 11px; }
#ribbonGroup QToolButton::menu-arrow { image: url(:/icons/menu-arrow.svg); width: 7px; height: 4px; }
#applicationMenuButton {
    background: qradialgradient(cx:0.5, cy:0.4, radius:0.6, fx:0.5, fy:0.3, stop:0 #ffffff, stop:1 #9fc0ea);
    border: 1px solid #6d93c8; border-radius: 11px;
}
#applicationMenuButton:hover { border: 1px solid #e3a53a; }
#applicationMenuButton::menu-indicator { image: none; }
#quickAccessBelowBar { background: #dbe7f8; border-top: 1px solid #a5c4ea; }
)");
}

}  // namespace quillprint
