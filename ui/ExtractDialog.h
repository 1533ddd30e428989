// The participants dialog of "Extract": one row per participant entry found
// in a chat export, with a check box and an editable name (all checked, the
// names proposed by the workspace), the entry, its number of lines, and a
// radio button "This is the unknown text".
#pragma once

#include <QDialog>
#include <vector>

#include "workspace/ChatExport.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace quillprint {

class TExtractDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { NameColumn, EntryColumn, LinesColumn, UnknownColumn };

    TExtractDialog(const std::vector<TChatParticipant>& participants, const QString& exportName,
                   QWidget* parent = nullptr);

    // The checked participants in the listed order, names trimmed.
    std::vector<TParticipantChoice> choices() const;

    // The row whose lines become the text to attribute; -1: none. Choosing a
    // row checks it; unchecking that row clears the choice.
    int unknownRow() const { return FUnknownRow; }
    void setUnknownRow(int row);

    QTableWidget* table() const { return FTable; }
    QPushButton* okButton() const { return FOkButton; }
    QRadioButton* noUnknownButton() const { return FNoUnknown; }
    // Why OK is unavailable; empty when it is.
    QString problem() const;

private:
    void itemChanged();
    void updateOk();

    std::vector<TChatParticipant> FParticipants;
    QTableWidget* FTable = nullptr;
    QRadioButton* FNoUnknown = nullptr;
    QLabel* FProblem = nullptr;
    QPushButton* FOkButton = nullptr;
    int FUnknownRow = -1;
};

}  // namespace quillprint
