// A tab page that shows one table of the workspace: above it, the bands that
// name the disputed text whose run it shows and say when it is out of date.
// The page owns its view and model; the window tells it when to refresh.
#pragma once

#include <QWidget>

#include "ui/GridModel.h"

class QLabel;
class QVBoxLayout;

namespace quillprint {

class TGridView;

class TTablePage : public QWidget {
    Q_OBJECT
public:
    // `pageName` and `tableName` become the page's and its view's object names.
    TTablePage(const char* pageName, const char* tableName, QWidget* parent = nullptr);

    // Shows `grid`, read again on every refresh(); `colour` as for TGridModel.
    void showTable(const TGrid& grid, TGridModel::TColourRule colour = {});
    virtual ~TTablePage() = default;
    // Lets go of the table before its owner destroys it.
    void releaseTable();
    // The table changed: re-read it and fit the columns after the first.
    virtual void refresh();
    // "Text: <label>" (hidden when `shownText` is empty) and the out-of-date
    // note (hidden when `outOfDate` is empty).
    void showBands(const QString& shownText, const QString& outOfDate);

signals:
    // The user asked for the table's context menu at `globalPos`.
    void contextMenuRequested(const QPoint& globalPos);

protected:
    // Puts `band` between the bands and the table.
    void addBand(QWidget* band);
    // The table's view has a model now.
    virtual void tableShown() {}
    // Puts `band` below the table.
    void addBelow(QWidget* band);
    // `container` takes the view's place in the page; the caller puts the
    // view into it.
    void replaceView(QWidget* container);
    // The width column `column` starts with once a table is shown.
    void startColumnWidth(int column, int width) { FStartWidths.append({column, width}); }
    TGridView& view() const { return *FView; }
    TGridModel& model() const { return *FModel; }

private:
    QVBoxLayout* FLayout = nullptr;
    QLabel* FShownTextBand = nullptr;
    QLabel* FOutOfDateBand = nullptr;
    TGridView* FView = nullptr;
    TGridModel* FModel = nullptr;
    QList<QPair<int, int>> FStartWidths;
};

// "Analysis": the phrases found, a range of rows selectable.
class TAnalysisPage : public TTablePage {
    Q_OBJECT
public:
    explicit TAnalysisPage(QWidget* parent = nullptr);
    void refresh() override;

protected:
    void tableShown() override;
};

// "Stylometry": one author's phrases, the author picked in a chooser above
// the table.
class TStylometryPage : public TTablePage {
    Q_OBJECT
public:
    explicit TStylometryPage(QWidget* parent = nullptr);
    // The chooser's entries and the one chosen (-1: none); not reported back
    // as the user's choice.
    void showChoices(const QStringList& names, int chosen);

signals:
    // The user chose entry `entry` of the chooser.
    void authorChosen(int entry);

private:
    class TChooser;
    TChooser* FChooser = nullptr;
};

}  // namespace quillprint
