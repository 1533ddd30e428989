#include "ui/MemoTextView.h"

#include <QPlainTextEdit>

namespace quillprint {

TLines TMemoTextView::Lines() const {
    TLines lines;
    const QString text = FMemo.toPlainText();
    // An empty view holds no lines, not one empty line.
    if (text.isEmpty()) return lines;
    for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdU16String());
    return lines;
}

void TMemoTextView::SetLines(const TLines& lines) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(lines.size()));
    for (const auto& line : lines) list.append(QString::fromStdU16String(line));
    FMemo.setPlainText(list.join(QLatin1Char('\n')));
}

void TMemoTextView::SetReadOnly(bool readOnly) { FMemo.setReadOnly(readOnly); }

void TMemoTextView::SetVisible(bool visible) { FMemo.setVisible(visible); }

}  // namespace quillprint
