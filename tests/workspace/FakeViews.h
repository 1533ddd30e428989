// Stand-ins for the window, recording what the workspace asks of it.
#pragma once

#include <string>
#include <vector>

#include "workspace/AuthorTree.h"
#include "workspace/WorkspaceViews.h"

namespace quillprint::testing {

class TFakeTextView : public TTextView {
public:
    TLines Lines() const override { return ShownLines; }
    void SetLines(const TLines& lines) override { ShownLines = lines; }
    void SetReadOnly(bool readOnly) override { ReadOnly = readOnly; }
    void SetVisible(bool visible) override { Visible = visible; }

    TLines ShownLines;
    bool ReadOnly = false;
    bool Visible = true;
};

class TFakeMessages : public TMessageSink {
public:
    void ShowMessage(const std::u16string& text) override { Messages.push_back(text); }
    void ShowError(const std::u16string& text) override { Errors.push_back(text); }
    std::vector<std::u16string> Messages;
    std::vector<std::u16string> Errors;
};

class TFakeObserver : public TWorkspaceObserver {
public:
    void TreeCleared() override { Events.push_back(u"cleared"); }
    void AuthorAdded(const TTreeNode& author) override { Events.push_back(u"author " + author.Label()); }
    void TextAdded(const TTreeNode& text) override { Events.push_back(u"text " + text.Label()); }
    void LabelChanged(const TTreeNode& node) override { Events.push_back(u"label " + node.Label()); }
    void SelectionSet(const TTreeNode* node) override {
        Events.push_back(u"select " + (node ? node->Label() : std::u16string(u"none")));
    }
    void PageToFront(TPage page) override { Pages.push_back(page); }
    void RunStarted() override { ++Started; }
    void RunEnded(TRunEndState state) override { Ends.push_back(state); }

    std::vector<std::u16string> Events;
    std::vector<TPage> Pages;
    int Started = 0;
    std::vector<TRunEndState> Ends;
};

// A workspace with fakes for every view, pinned to en_US.
struct TWorkspaceFixture {
    TFakeTextView View;
    TFakeMessages Messages;
    TFakeObserver Observer;
};

}  // namespace quillprint::testing
