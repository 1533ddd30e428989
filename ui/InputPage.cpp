#include "ui/InputPage.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/AccessKeyGuard.h"
#include "ui/AuthorTreeView.h"
#include "ui/MemoTextView.h"
#include "workspace/CopiedPassages.h"

namespace quillprint {

TInputPage::TInputPage(QWidget* parent) : QWidget(parent) {
    setObjectName("tbAuthors");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The settings keep the user's width of the tree under this name.
    FSplitter = new QSplitter(Qt::Horizontal, this);
    FSplitter->setObjectName("Splitter1");
    FSplitter->setHandleWidth(3);
    FSplitter->setChildrenCollapsible(false);
    FTree = new TAuthorTreeView(FSplitter);
    // The text view, under a band that warns of a file that is no text.
    auto* textPane = new QWidget(FSplitter);
    auto* textLayout = new QVBoxLayout(textPane);
    textLayout->setContentsMargins(0, 0, 0, 0);
    textLayout->setSpacing(0);
    FBinaryBand = new QLabel(tr("This file looks like a picture, a program or a word processor's document, not "
                                "plain text. It is read as text all the same; save it as plain text for a "
                                "meaningful result."),
                             textPane);
    FBinaryBand->setObjectName("binaryFileBand");
    FBinaryBand->setWordWrap(true);
    FBinaryBand->setContentsMargins(6, 3, 6, 3);
    FBinaryBand->setStyleSheet("background: #fff1b8; color: #5c4400;");
    FBinaryBand->setVisible(false);
    textLayout->addWidget(FBinaryBand);
    FText = new QPlainTextEdit(textPane);
    FText->setObjectName("mText");
    FText->setReadOnly(true);
    FText->installEventFilter(new TAccessKeyGuard(FText));
    textLayout->addWidget(FText);
    FSplitter->addWidget(FTree);
    FSplitter->addWidget(textPane);
    FSplitter->setStretchFactor(0, 0);
    FSplitter->setStretchFactor(1, 1);
    // The tree takes a fifth of the page, enough for "Federalist 51.txt";
    // the user's own width is kept across restarts.
    FSplitter->setSizes({240, 963});
    layout->addWidget(FSplitter);

    FTextView = std::make_unique<TMemoTextView>(
        *FText, [this](const std::u16string& error) { emit readFailed(QString::fromStdU16String(error)); });

    connect(FTree, &TAuthorTreeView::nodeSelected, this, [this](TTreeNode* node) {
        FText->setExtraSelections({});
        emit nodeSelected(node);
    });
    connect(FTree, &TAuthorTreeView::labelEdited, this, &TInputPage::labelEdited);
}

// The adapter goes before the text view it shows into.
TInputPage::~TInputPage() = default;

void TInputPage::clearTree() { FTree->clearEntries(); }
void TInputPage::addAuthor(const TTreeNode& author) { FTree->addAuthor(author); }
void TInputPage::addText(const TTreeNode& text) { FTree->addText(text); }
void TInputPage::updateLabel(const TTreeNode& node) { FTree->updateLabel(node); }
void TInputPage::selectNode(const TTreeNode* node) { FTree->selectNode(node); }

void TInputPage::showBinaryWarning(bool shown) { FBinaryBand->setVisible(shown); }

void TInputPage::selectPassage(const TTextPlace& place, const TTextPlace& end) {
    // Whole lines from the passage's first to its last; a passage that runs
    // on into the next text is marked to the end of this one.
    QTextDocument* document = FText->document();
    const int first = place.Line - 1;
    const int last = end.Text == place.Text ? end.Line - 1 : document->blockCount() - 1;
    const QTextBlock begin = document->findBlockByNumber(first);
    const QTextBlock finish = document->findBlockByNumber(std::min(last, document->blockCount() - 1));
    if (!begin.isValid() || !finish.isValid()) return;
    QTextCursor cursor(document);
    cursor.setPosition(begin.position());
    cursor.setPosition(finish.position() + finish.length() - 1, QTextCursor::KeepAnchor);
    QTextEdit::ExtraSelection highlight;
    highlight.cursor = cursor;
    highlight.format.setBackground(QColor(255, 236, 140));
    FText->setExtraSelections({highlight});
    // The view scrolls to the passage's first line.
    QTextCursor start(begin);
    FText->setTextCursor(start);
    FText->centerCursor();
}

void TInputPage::setCalculationRunning(bool running) {
    FTree->setLabelsEditable(!running);
    if (running) {
        FTextWasReadOnly = FText->isReadOnly();
        FText->setReadOnly(true);
    } else {
        FText->setReadOnly(FTextWasReadOnly);
    }
}

void TInputPage::acceptDrops(QWidget& window, TProjectDrops::THooks hooks) {
    new TProjectDrops(&window, FText->viewport(), FTree, std::move(hooks));
}

}  // namespace quillprint
