// "Extract" driven as a user would: the file chooser and the participants
// dialog answered by the test, the new authors in the tree and in the
// calculation; and the participants dialog itself.
#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "FormFixture.h"
#include "UiTestProgram.h"
#include "ui/AuthorTreeView.h"
#include "ui/ExtractDialog.h"
#include "ui/GridView.h"
#include "workspace/Workspace.h"

using namespace quillprint;
using namespace quillprint::test;

namespace {

const QByteArray kChat =
    "Date,Time,Sender Name,Sender Phone,Message\r\n"
    "01/02/2026,09:00,Ann,+100,we hold these truths to be self evident\r\n"
    "01/02/2026,09:01,Bob,+200,the eyes of the law are blind\r\n"
    "and nothing here is self evident\r\n"
    "01/02/2026,09:02,Ann,+100,that all men are created equal\r\n"
    "01/02/2026,09:03,\"Cy, Jr\",+300,who wrote the letter\r\n";

// Answers the file chooser with `File` and the participants dialog by
// running `Choose` on a real dialog over what the window offers.
class TExtractDialogs : public TFakeDialogs {
public:
    std::optional<QString> ChooseChatExport(QWidget*, const QString& startFolder) override {
        StartFolders.append(startFolder);
        return File;
    }
    std::optional<std::vector<TParticipantChoice>> ChooseParticipants(
        QWidget* parent, const QString& exportName, const std::vector<TChatParticipant>& participants) override {
        ExportNames.append(exportName);
        Offered = participants;
        if (!Choose) return std::nullopt;
        TExtractDialog dialog(participants, exportName, parent);
        Choose(dialog);
        if (!dialog.okButton()->isEnabled()) return std::nullopt;
        return dialog.choices();
    }

    std::optional<QString> File;
    std::function<void(TExtractDialog&)> Choose;
    QStringList StartFolders;
    QStringList ExportNames;
    std::vector<TChatParticipant> Offered;
};

struct TExtractFixture {
    TExampleFolder Folder;
    QTemporaryDir Downloads;
    TExtractDialogs Dialogs;
    TFakeShell Shell;
    std::unique_ptr<TForm1> Form = std::make_unique<TForm1>(Dialogs, Shell, Folder.executableDir());

    QString writeChat(const QByteArray& text, const QString& name = "group chat.txt") {
        const QString path = Downloads.path() + "/" + name;
        WriteFile(path, text);
        return path;
    }
};

QStringList ResultNames(const TGridView* grid) {
    QStringList names;
    for (int row = 0; row < grid->model()->rowCount(); ++row) names.append(grid->model()->index(row, 0).data().toString());
    return names;
}

// Every file below `dir` with its size.
QStringList Listing(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.append(path + " " + QString::number(QFileInfo(path).size()));
    }
    files.sort();
    return files;
}

void ClickUnknownRadio(TExtractDialog& dialog, int row) {
    QTableWidget* table = dialog.table();
    const QRect cell = table->visualItemRect(table->item(row, TExtractDialog::UnknownColumn));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class ExtractTest : public QObject {
    Q_OBJECT

private slots:
    void participantsBecomeAuthorsAndTakePartInTheCalculation() {
        TExtractFixture f;
        TForm1& form = *f.Form;
        f.Dialogs.File = f.writeChat(kChat);
        f.Dialogs.Choose = [](TExtractDialog& dialog) {
            dialog.table()->item(0, TExtractDialog::NameColumn)->setText("Ann Lee");
            dialog.table()->item(2, TExtractDialog::NameColumn)->setCheckState(Qt::Unchecked);
        };
        UserSelectsCalculate(form);
        const QStringList projectBefore = Listing(f.Folder.projectDir());

        Part<QAction>(form, "Action2")->trigger();

        FinishWindowJob(form);
        QCOMPARE(f.Dialogs.StartFolders, QStringList({f.Folder.projectDir()}));
        QCOMPARE(f.Dialogs.ExportNames, QStringList({"group chat.txt"}));
        QCOMPARE(f.Dialogs.Offered.size(), size_t(3));
        QCOMPARE(f.Dialogs.Offered[1].Entry, std::u16string(u"Bob,+200,"));
        QCOMPARE(f.Dialogs.Offered[1].Lines, 1);
        QCOMPARE(f.Dialogs.Offered[2].Name, std::u16string(u"Cy, Jr"));

        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")),
                 QStringList({"Unknown", "Alpha", "Beta", "Ann Lee", "Bob"}));
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(3)->child(0)->text(0),
                 QString("group chat.txt"));
        QCOMPARE(Part<TAuthorTreeView>(form, "tvAuthors")->currentItem(),
                 Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(3)->child(0));
        QCOMPARE(Part<QTabWidget>(form, "PageControl1")->currentWidget(), Part(form, "tbAuthors"));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(),
                 QString("we hold these truths to be self evident\nthat all men are created equal"));
        QVERIFY(!Part<QPlainTextEdit>(form, "mText")->isReadOnly());
        QVERIFY(!form.workspace().Calculated());
        QVERIFY(f.Dialogs.Errors.isEmpty());

        UserSelectsCalculate(form);
        const QStringList names = ResultNames(Part<TGridView>(form, "sgResult"));
        QVERIFY2(names.contains("Ann Lee") && names.contains("Bob"), qPrintable(names.join(", ")));
        QCOMPARE(names.last(), QString("Unknown"));
        QCOMPARE(Listing(f.Folder.projectDir()), projectBefore);
    }

    void oneParticipantCanBeTheUnknownText() {
        TExtractFixture f;
        TForm1& form = *f.Form;
        f.Dialogs.File = f.writeChat(kChat);
        f.Dialogs.Choose = [](TExtractDialog& dialog) { ClickUnknownRadio(dialog, 2); };
        Part<QAction>(form, "Action2")->trigger();
        FinishWindowJob(form);
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")),
                 QStringList({"Unknown", "Alpha", "Beta", "Ann", "Bob"}));
        QTreeWidgetItem* unknown = Part<TAuthorTreeView>(form, "tvAuthors")->topLevelItem(0);
        QCOMPARE(unknown->childCount(), 2);
        QCOMPARE(unknown->child(1)->text(0), QString("group chat.txt"));
        Part<TAuthorTreeView>(form, "tvAuthors")->setCurrentItem(unknown->child(1));
        QCOMPARE(Part<QPlainTextEdit>(form, "mText")->toPlainText(), QString("who wrote the letter"));
    }

    void cancellingOrAnExportWithoutParticipantsAddsNothing() {
        TExtractFixture f;
        TForm1& form = *f.Form;
        const QStringList before = TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors"));

        Part<QAction>(form, "Action2")->trigger();  // the file chooser cancelled

        FinishWindowJob(form);
        f.Dialogs.File = f.writeChat(kChat);
        Part<QAction>(form, "Action2")->trigger();  // the participants dialog cancelled
        FinishWindowJob(form);
        QCOMPARE(f.Dialogs.Offered.size(), size_t(3));
        QVERIFY(f.Dialogs.Messages.isEmpty());

        f.Dialogs.File = f.writeChat("Date,Time,Sender Name,Sender Phone,Message\r\njust talk, +1,\r\n", "plain.txt");
        f.Dialogs.Offered.clear();
        Part<QAction>(form, "Action2")->trigger();
        FinishWindowJob(form);
        QCOMPARE(f.Dialogs.Messages.size(), 1);
        QVERIFY(f.Dialogs.Messages[0].contains("No line of \"plain.txt\" starts with a participant entry"));
        QVERIFY(f.Dialogs.Offered.empty());

        f.Dialogs.File = f.Downloads.path() + "/missing.txt";
        Part<QAction>(form, "Action2")->trigger();
        FinishWindowJob(form);
        QCOMPARE(f.Dialogs.Errors.size(), 1);
        QVERIFY(f.Dialogs.Errors[0].contains("missing.txt"));
        QCOMPARE(TopLevelLabels(Part<TAuthorTreeView>(form, "tvAuthors")), before);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    void dialogListsEveryParticipantCheckedAndSaysWhyOkIsUnavailable() {
        const std::vector<TChatParticipant> participants = {
            {u"Ann,+100,", u"Ann", 12}, {u"Bob,+200,", u"Bob", 3}, {u"Cy,+300,", u"Cy", 1}};
        TExtractDialog dialog(participants, "chat.txt");
        QTableWidget* table = dialog.table();
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->horizontalHeaderItem(TExtractDialog::UnknownColumn)->text(),
                 QString("This is the unknown text"));
        QCOMPARE(table->item(0, TExtractDialog::EntryColumn)->text(), QString("Ann,+100,"));
        QCOMPARE(table->item(0, TExtractDialog::LinesColumn)->text(), QString("12"));
        for (int row = 0; row < 3; ++row)
            QCOMPARE(table->item(row, TExtractDialog::NameColumn)->checkState(), Qt::Checked);
        QVERIFY(dialog.okButton()->isEnabled());
        QVERIFY(dialog.noUnknownButton()->isChecked());

        QTableWidgetItem* bob = table->item(1, TExtractDialog::NameColumn);
        const struct {
            QString Name;
            QString Problem;
        } names[] = {{"  ", "needs a name"}, {"ann", "Two checked participants are named"},
                     {"unknown", "No author can be named \"Unknown\""}, {" Robert ", ""}};
        for (const auto& c : names) {
            bob->setText(c.Name);
            QCOMPARE(dialog.okButton()->isEnabled(), c.Problem.isEmpty());
            QVERIFY2(dialog.problem().contains(c.Problem), qPrintable(dialog.problem()));
        }

        // The unknown text: choosing a row checks it, unchecking it clears the choice.
        table->item(2, TExtractDialog::NameColumn)->setCheckState(Qt::Unchecked);
        ClickUnknownRadio(dialog, 2);
        QCOMPARE(dialog.unknownRow(), 2);
        QCOMPARE(table->item(2, TExtractDialog::NameColumn)->checkState(), Qt::Checked);
        QVERIFY(!dialog.noUnknownButton()->isChecked());
        const std::vector<TParticipantChoice> chosen = dialog.choices();
        QCOMPARE(chosen.size(), size_t(3));
        QCOMPARE(chosen[1].Name, std::u16string(u"Robert"));
        QVERIFY(chosen[2].IsUnknownText && !chosen[0].IsUnknownText);
        table->item(2, TExtractDialog::NameColumn)->setCheckState(Qt::Unchecked);
        QCOMPARE(dialog.unknownRow(), -1);
        QVERIFY(dialog.noUnknownButton()->isChecked());

        // A participant that is the unknown text needs no name of its own.
        ClickUnknownRadio(dialog, 0);
        table->item(0, TExtractDialog::NameColumn)->setText("");
        QVERIFY(dialog.okButton()->isEnabled());

        for (int row = 0; row < 3; ++row) table->item(row, TExtractDialog::NameColumn)->setCheckState(Qt::Unchecked);
        QVERIFY(!dialog.okButton()->isEnabled());
        QVERIFY(dialog.problem().contains("Check at least one"));
        QVERIFY(dialog.choices().empty());
    }

private:
    static void UserSelectsCalculate(TForm1& form) {
        Part<QAction>(form, "Action1")->trigger();
        FinishCalculation(form);
    }
};

QUILLPRINT_UI_TEST(ExtractTest)
#include "ExtractTest.moc"
