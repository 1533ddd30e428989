#include "ui/QuickAccessToolbar.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QWidgetAction>

namespace quillprint {

namespace {

// The places Alt + a digit reaches.
constexpr int kMostNumberedPlaces = 9;

// A command button that shows its place's number in a corner while Alt is
// held (when the style underlines access keys).
class TQuickAccessButton : public QToolButton {
public:
    using QToolButton::QToolButton;
    int Place = 0;

protected:
    void paintEvent(QPaintEvent* event) override {
        QToolButton::paintEvent(event);
        if (Place < 1 || Place > kMostNumberedPlaces ||
            !style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this))
            return;
        QPainter painter(this);
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        painter.setFont(small);
        const QString number = QString::number(Place);
        const QFontMetrics metrics(small);
        QRect badge(0, 0, metrics.horizontalAdvance(number) + 4, metrics.height());
        badge.moveBottomRight(rect().bottomRight());
        painter.fillRect(badge, palette().color(QPalette::ToolTipBase));
        painter.setPen(palette().color(QPalette::ToolTipText));
        painter.drawRect(badge.adjusted(0, 0, -1, -1));
        painter.drawText(badge, Qt::AlignCenter, number);
    }
};

}  // namespace

const char* const TQuickAccessToolbar::CommandMimeType = "application/x-quillprint-command";

TQuickAccessToolbar::TQuickAccessToolbar(QWidget* parent) : QWidget(parent) {
    setObjectName("quickAccessToolbar");
    setAcceptDrops(true);
    FLayout = new QHBoxLayout(this);
    FLayout->setContentsMargins(2, 0, 2, 0);
    FLayout->setSpacing(1);

    FMenu = new QMenu(this);
    FMenu->setObjectName("quickAccessMenu");
    connect(FMenu, &QMenu::aboutToShow, this, &TQuickAccessToolbar::rebuildMenu);

    FDropDown = new QToolButton(this);
    FDropDown->setObjectName("quickAccessDropDown");
    FDropDown->setText(QString(QChar(0x25BE)));  // small down-pointing triangle
    FDropDown->setToolTip(tr("Customize Quick Access Toolbar"));
    FDropDown->setAutoRaise(true);
    FDropDown->setFocusPolicy(Qt::NoFocus);
    FDropDown->setPopupMode(QToolButton::InstantPopup);
    FDropDown->setMenu(FMenu);
    FLayout->addWidget(FDropDown);

    for (int place = 1; place <= kMostNumberedPlaces; ++place) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + place)), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, place] {
            if (QAction* command = shownCommand(place)) command->trigger();
        });
    }
}

QAction* TQuickAccessToolbar::shownCommand(int place) const {
    for (QAction* command : FCommands)
        if (!FHidden.contains(command) && --place == 0) return command;
    return nullptr;
}

void TQuickAccessToolbar::numberButtons() {
    int place = 0;
    for (int i = 0; i < FCommands.size(); ++i) {
        auto* button = static_cast<TQuickAccessButton*>(FButtons[i]);
        button->Place = FHidden.contains(FCommands[i]) ? 0 : ++place;
        button->update();
    }
}

void TQuickAccessToolbar::setCommandSet(const QList<QAction*>& commands) { FCommandSet = commands; }

QToolButton* TQuickAccessToolbar::buttonFor(QAction* command) const {
    const auto index = FCommands.indexOf(command);
    return index < 0 ? nullptr : FButtons.at(index);
}

void TQuickAccessToolbar::addCommand(QAction* command) {
    if (!command) return;
    if (FCommands.contains(command)) {
        setCommandShown(command, true);
        return;
    }
    auto* button = new TQuickAccessButton(this);
    button->setDefaultAction(command);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setIconSize(QSize(16, 16));
    // Commands without an icon show their caption, as on the ribbon.
    button->setToolButtonStyle(command->icon().isNull() ? Qt::ToolButtonTextOnly
                                                        : Qt::ToolButtonIconOnly);
    FLayout->insertWidget(FLayout->indexOf(FDropDown), button);
    FCommands.append(command);
    FButtons.append(button);
    numberButtons();
    // A widget added to a toolbar already on screen stays hidden until shown.
    button->show();
}

void TQuickAccessToolbar::setCommandShown(QAction* command, bool shown) {
    auto* button = buttonFor(command);
    if (!button) return;
    if (shown) FHidden.remove(command);
    else FHidden.insert(command);
    button->setVisible(shown);
    numberButtons();
}

bool TQuickAccessToolbar::isShown(QAction* command) const {
    return FCommands.contains(command) && !FHidden.contains(command);
}

void TQuickAccessToolbar::rebuildMenu() {
    FMenu->clear();
    // The heading is a caption on a band, not a command.
    auto* heading = new QWidgetAction(FMenu);
    heading->setText(tr("Customize Quick Access Toolbar..."));
    auto* headingLabel = new QLabel(heading->text());
    headingLabel->setObjectName("quickAccessMenuHeading");
    headingLabel->setStyleSheet("font-weight: bold; color: #15428b; background: #dde7f4;"
                                "border-bottom: 1px solid #b6c9e3; padding: 3px 8px;");
    heading->setDefaultWidget(headingLabel);
    FMenu->addAction(heading);
    for (QAction* command : FCommands) {
        // No icons here, so the check marks show.
        auto* entry = FMenu->addAction(command->iconText());
        entry->setCheckable(true);
        entry->setChecked(isShown(command));
        connect(entry, &QAction::toggled, this,
                [this, command](bool checked) { setCommandShown(command, checked); });
    }
    FMenu->addSeparator();
    emit menuBuilding(FMenu);
}

QAction* TQuickAccessToolbar::commandFromMime(const QMimeData* mime) const {
    if (!mime || !mime->hasFormat(CommandMimeType)) return nullptr;
    const QString name = QString::fromUtf8(mime->data(CommandMimeType));
    for (QAction* command : FCommandSet)
        if (command->objectName() == name) return command;
    return nullptr;
}

void TQuickAccessToolbar::dragEnterEvent(QDragEnterEvent* event) {
    if (commandFromMime(event->mimeData())) event->acceptProposedAction();
}

bool TQuickAccessToolbar::addDroppedCommand(const QMimeData* mime) {
    QAction* command = commandFromMime(mime);
    if (command) addCommand(command);
    return command != nullptr;
}

void TQuickAccessToolbar::dropEvent(QDropEvent* event) {
    if (addDroppedCommand(event->mimeData())) event->acceptProposedAction();
}

}  // namespace quillprint
