// The text view mText as the workspace sees it: a list of lines.
#pragma once

#include "workspace/WorkspaceViews.h"

class QPlainTextEdit;

namespace quillprint {

class TMemoTextView : public TTextView {
public:
    explicit TMemoTextView(QPlainTextEdit& memo) : FMemo(memo) {}

    TLines Lines() const override;
    void SetLines(const TLines& lines) override;
    void SetReadOnly(bool readOnly) override;
    void SetVisible(bool visible) override;

private:
    QPlainTextEdit& FMemo;
};

}  // namespace quillprint
