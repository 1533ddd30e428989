#include "ui/RibbonGroup.h"

#include <QAction>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillprint {

namespace {
constexpr int SmallButtonsPerColumn = 3;
constexpr int LargeIconSize = 32;
constexpr int SmallIconSize = 16;

// A ribbon button draws its command's caption with the "&" of the access
// key, which the style underlines while Alt is held (a tool button's own
// caption drops it).
class TRibbonButton : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionToolButton option;
        initStyleOption(&option);
        if (defaultAction() && toolButtonStyle() != Qt::ToolButtonIconOnly) option.text = defaultAction()->text();
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
    }
};

}  // namespace

TRibbonGroup::TRibbonGroup(const QString& caption, QWidget* parent)
    : QFrame(parent), FCaption(caption) {
    setObjectName("ribbonGroup");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(3, 3, 3, 0);
    outer->setSpacing(0);

    FButtonRow = new QHBoxLayout;
    FButtonRow->setSpacing(2);
    outer->addLayout(FButtonRow, 1);

    auto* captionLabel = new QLabel(caption, this);
    captionLabel->setObjectName("ribbonGroupCaption");
    captionLabel->setAlignment(Qt::AlignCenter);
    outer->addWidget(captionLabel);
}

QString TRibbonGroup::caption() const { return FCaption; }

QToolButton* TRibbonGroup::makeButton(QAction* action) {
    auto* button = new TRibbonButton(this);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    // The letter after "&" in the caption is the button's access key
    // (Alt + letter); the button shows the caption without the marker.
    const QKeySequence accessKey = QKeySequence::mnemonic(action->text());
    if (!accessKey.isEmpty()) {
        auto* shortcut = new QShortcut(accessKey, button);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, action, &QAction::trigger);
    }
    return button;
}

QToolButton* TRibbonGroup::addLargeButton(QAction* action) {
    FSmallColumn = nullptr;
    auto* button = makeButton(action);
    button->setObjectName("ribbonLargeButton");
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(LargeIconSize, LargeIconSize));
    button->setMinimumWidth(44);
    // The caption sits right under the icon, as on office ribbons.
    FButtonRow->addWidget(button, 0, Qt::AlignTop);
    return button;
}

QToolButton* TRibbonGroup::addSmallButton(QAction* action) {
    if (!FSmallColumn || FSmallInColumn == SmallButtonsPerColumn) {
        FSmallColumn = new QVBoxLayout;
        FSmallColumn->setSpacing(0);
        FSmallColumn->addStretch();
        FButtonRow->addLayout(FSmallColumn);
        FSmallInColumn = 0;
    }
    auto* button = makeButton(action);
    button->setObjectName("ribbonSmallButton");
    button->setToolButtonStyle(action->icon().isNull() ? Qt::ToolButtonTextOnly
                                                       : Qt::ToolButtonTextBesideIcon);
    button->setIconSize(QSize(SmallIconSize, SmallIconSize));
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    // Keep the stretch last so the buttons sit at the top of the column,
    // aligned on their left edges.
    FSmallColumn->insertWidget(FSmallColumn->count() - 1, button, 0, Qt::AlignLeft);
    ++FSmallInColumn;
    return button;
}

}  // namespace quillprint
