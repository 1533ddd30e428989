#include "ui/Ribbon.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/QuickAccessCustomizeDialog.h"
#include "ui/QuickAccessToolbar.h"
#include "ui/RibbonGroup.h"
#include "ui/RibbonStyle.h"

namespace quillprint {

namespace {
// Heights at 96 dpi; together 143, the ribbon's height.
constexpr int TitleBarHeight = 26;
constexpr int TabRowHeight = 24;
constexpr int PanelHeight = 93;
constexpr int BelowBarHeight = 26;
}  // namespace

TRibbon::TRibbon(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(RibbonLunaStyleSheet());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    FLayout = new QVBoxLayout(this);
    FLayout->setContentsMargins(0, 0, 0, 0);
    FLayout->setSpacing(0);

    // Title area: the caption is centred over the whole width, the
    // application menu button and the toolbar sit on top of it at the left.
    FTitleBar = new QWidget(this);
    FTitleBar->setObjectName("ribbonTitleBar");
    FTitleBar->setAttribute(Qt::WA_StyledBackground);
    FTitleBar->setFixedHeight(TitleBarHeight);
    auto* titleGrid = new QGridLayout(FTitleBar);
    titleGrid->setContentsMargins(3, 1, 3, 1);
    FCaption = new QLabel(FTitleBar);
    FCaption->setObjectName("ribbonCaption");
    FCaption->setAlignment(Qt::AlignCenter);
    // A long title is elided; it never widens the window.
    FCaption->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    titleGrid->addWidget(FCaption, 0, 0);

    auto* leftRow = FLeftRow = new QWidget(FTitleBar);
    auto* leftLayout = new QHBoxLayout(leftRow);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(4);
    FAppMenuButton = new QToolButton(leftRow);
    FAppMenuButton->setObjectName("applicationMenuButton");
    FAppMenuButton->setIcon(QIcon(":/icons/quillprint.svg"));
    FAppMenuButton->setIconSize(QSize(16, 16));
    FAppMenuButton->setFixedSize(24, 22);
    FAppMenuButton->setFocusPolicy(Qt::NoFocus);
    FAppMenuButton->setPopupMode(QToolButton::InstantPopup);
    // The application menu carries no commands.
    auto* appMenu = new QMenu(FAppMenuButton);
    appMenu->setObjectName("applicationMenu");
    FAppMenuButton->setMenu(appMenu);
    leftLayout->addWidget(FAppMenuButton);
    FQuickAccessAboveSlot = new QWidget(leftRow);
    auto* slotLayout = new QHBoxLayout(FQuickAccessAboveSlot);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    FQuickAccess = new TQuickAccessToolbar(FQuickAccessAboveSlot);
    slotLayout->addWidget(FQuickAccess);
    leftLayout->addWidget(FQuickAccessAboveSlot);
    titleGrid->addWidget(leftRow, 0, 0, Qt::AlignLeft | Qt::AlignVCenter);
    FLayout->addWidget(FTitleBar);

    FTabs = new QTabBar(this);
    FTabs->setObjectName("ribbonTabs");
    FTabs->setDrawBase(false);
    FTabs->setExpanding(false);
    FTabs->setFocusPolicy(Qt::NoFocus);
    FTabs->setFixedHeight(TabRowHeight);
    FLayout->addWidget(FTabs);

    FPanels = new QStackedWidget(this);
    FPanels->setFixedHeight(PanelHeight);
    FLayout->addWidget(FPanels);
    connect(FTabs, &QTabBar::currentChanged, FPanels, &QStackedWidget::setCurrentIndex);
    // A double click on a tab minimises or restores the ribbon, as in office programs.
    connect(FTabs, &QTabBar::tabBarDoubleClicked, this, [this] { setMinimized(!FMinimized); });

    FBelowBar = new QWidget(this);
    FBelowBar->setObjectName("quickAccessBelowBar");
    FBelowBar->setAttribute(Qt::WA_StyledBackground);
    FBelowBar->setFixedHeight(BelowBarHeight);
    auto* belowLayout = new QHBoxLayout(FBelowBar);
    belowLayout->setContentsMargins(3, 1, 3, 1);
    belowLayout->addStretch();
    FBelowBar->hide();
    FLayout->addWidget(FBelowBar);
    for (QWidget* bar : {FTitleBar, FBelowBar}) {
        bar->setAcceptDrops(true);
        bar->installEventFilter(this);
    }
    FLeftRow->installEventFilter(this);

    connect(FQuickAccess, &TQuickAccessToolbar::menuBuilding, this,
            &TRibbon::appendQuickAccessMenuEntries);
    updateHeight();
}

void TRibbon::setCaption(const QString& caption) {
    FCaptionText = caption;
    updateTitle();
}
QString TRibbon::caption() const { return FCaptionText; }

void TRibbon::setDocumentName(const QString& name) {
    FDocumentName = name;
    updateTitle();
}

QString TRibbon::title() const {
    return FDocumentName.isEmpty() ? FCaptionText : QString("%1 \u2014 %2").arg(FDocumentName, FCaptionText);
}

void TRibbon::updateTitle() { placeCaption(); }

void TRibbon::placeCaption() {
    const QFontMetrics metrics(FCaption->font());
    const int width = FCaption->width();
    const int room = FLeftRow->isVisible() ? FLeftRow->geometry().right() + 8 - FCaption->geometry().left() : 0;
    const int textWidth = metrics.horizontalAdvance(title());
    // Not laid out before it is shown: the whole title until then.
    if (!FTitleBar->isVisible() || (width - textWidth) / 2 >= room) {
        FCaption->setContentsMargins(0, 0, 0, 0);
        FCaption->setAlignment(Qt::AlignCenter);
        FCaption->setText(title());
        return;
    }
    FCaption->setContentsMargins(room, 0, 0, 0);
    FCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    FCaption->setText(metrics.elidedText(title(), Qt::ElideRight, std::max(0, width - room)));
}

int TRibbon::addTab(const QString& caption) {
    auto* panel = new QWidget(FPanels);
    panel->setObjectName("ribbonPanel");
    panel->setAttribute(Qt::WA_StyledBackground);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(3);
    layout->addStretch();
    FPanels->addWidget(panel);
    return FTabs->addTab(caption);
}

TRibbonGroup* TRibbon::addGroup(int tab, const QString& caption) {
    QWidget* panel = FPanels->widget(tab);
    auto* layout = static_cast<QHBoxLayout*>(panel->layout());
    auto* group = new TRibbonGroup(caption, panel);
    layout->insertWidget(layout->count() - 1, group);
    return group;
}

void TRibbon::setCommandSet(const QList<QAction*>& commands) {
    FCommandSet = commands;
    FQuickAccess->setCommandSet(commands);
}

void TRibbon::setMinimized(bool minimized) {
    FMinimized = minimized;
    FPanels->setVisible(!minimized);
    updateHeight();
}

void TRibbon::setQuickAccessBelow(bool below) {
    FQuickAccessBelow = below;
    auto* target = below ? FBelowBar : FQuickAccessAboveSlot;
    auto* layout = static_cast<QHBoxLayout*>(target->layout());
    layout->insertWidget(0, FQuickAccess);
    FBelowBar->setVisible(below);
    updateHeight();
}

void TRibbon::updateHeight() {
    int height = TitleBarHeight + TabRowHeight;
    if (!FMinimized) height += PanelHeight;
    if (FQuickAccessBelow) height += BelowBarHeight;
    setFixedHeight(height);
}

TQuickAccessCustomizeDialog* TRibbon::showCustomizeDialog() {
    if (!FCustomizeDialog)
        FCustomizeDialog = new TQuickAccessCustomizeDialog(FCommandSet, FQuickAccess, window());
    FCustomizeDialog->show();
    FCustomizeDialog->raise();
    FCustomizeDialog->activateWindow();
    return FCustomizeDialog;
}

void TRibbon::appendQuickAccessMenuEntries(QMenu* menu) {
    connect(menu->addAction(tr("More Commands...")), &QAction::triggered, this,
            [this] { showCustomizeDialog(); });
    appendPlacementEntries(menu, FQuickAccessBelow ? tr("Show Above the Ribbon") : tr("Show Below the Ribbon"));
}

void TRibbon::appendPlacementEntries(QMenu* menu, const QString& moveText) {
    connect(menu->addAction(moveText), &QAction::triggered, this,
            [this] { setQuickAccessBelow(!FQuickAccessBelow); });
    menu->addSeparator();
    auto* minimize = menu->addAction(tr("Minimize the Ribbon"));
    minimize->setCheckable(true);
    minimize->setChecked(FMinimized);
    connect(minimize, &QAction::toggled, this, &TRibbon::setMinimized);
}

QMenu* TRibbon::createContextMenu(QAction* command, QWidget* parent) {
    auto* menu = new QMenu(parent);
    menu->setObjectName("ribbonContextMenu");
    auto* add = menu->addAction(tr("Add to Quick Access Toolbar"));
    add->setEnabled(command && !FQuickAccess->isShown(command));
    connect(add, &QAction::triggered, this, [this, command] { FQuickAccess->addCommand(command); });
    connect(menu->addAction(tr("Customize Quick Access Toolbar...")), &QAction::triggered, this,
            [this] { showCustomizeDialog(); });
    menu->addSeparator();
    appendPlacementEntries(menu, FQuickAccessBelow ? tr("Show Quick Access Toolbar Above the Ribbon")
                                                   : tr("Show Quick Access Toolbar Below the Ribbon"));
    return menu;
}

void TRibbon::contextMenuEvent(QContextMenuEvent* event) {
    QAction* command = nullptr;
    if (auto* button = qobject_cast<QToolButton*>(childAt(event->pos())))
        if (button != FAppMenuButton) command = button->defaultAction();
    QMenu* menu = createContextMenu(command, this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool TRibbon::eventFilter(QObject* watched, QEvent* event) {
    if (watched != FTitleBar && watched != FBelowBar && watched != FLeftRow) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::LayoutRequest:
        // The title bar or the toolbar changed width.
        if (watched != FBelowBar) placeCaption();
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!drag->mimeData()->hasFormat(TQuickAccessToolbar::CommandMimeType)) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!FQuickAccess->addDroppedCommand(drop->mimeData())) return false;
        drop->acceptProposedAction();
        return true;
    }
    default: return false;
    }
}

}  // namespace quillprint
