// Test doubles for the window's dialogs and desktop shell, and a small
// example folder laid out like the one beside the real executable.
#pragma once

#include <QAbstractItemModel>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStringList>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

#include "ui/AuthorTreeView.h"
#include "ui/Form1.h"
#include "ui/Ribbon.h"
#include "ui/UserDialogs.h"
#include "workspace/Workspace.h"

namespace quillprint::test {

// The window keeps settings (the recent projects); tests keep theirs in a
// temporary folder of their own, never in the user's.
inline void UseTemporarySettings() {
    static QTemporaryDir folder;
    static const bool done = [] {
        QStandardPaths::setTestModeEnabled(true);
        for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, folder.path());
        return true;
    }();
    (void)done;
}

// Records what the window asks; answers the folder chooser with
// `FolderAnswer` and the save dialog with `SaveAnswer`.
class TFakeDialogs : public TUserDialogs {
public:
    TFakeDialogs() { UseTemporarySettings(); }
    void ShowMessage(QWidget*, const QString& text) override { Messages.append(text); }
    void ShowError(QWidget*, const QString& text) override {
        Errors.append(text);
        CursorOverriddenAtError = QGuiApplication::overrideCursor() != nullptr;
    }
    std::optional<QString> ChooseFolder(QWidget*, const QString& caption, const QString&) override {
        ChooserCaptions.append(caption);
        return FolderAnswer;
    }

    std::optional<QString> ChooseSaveFile(QWidget*, const QString&, const QString& startPath,
                                          const QString&) override {
        SaveStartPaths.append(startPath);
        return SaveAnswer;
    }
    bool AskYesNo(QWidget*, const QString& text) override {
        Questions.append(text);
        return YesAnswer;
    }

    QStringList Messages;
    QStringList Errors;
    QStringList ChooserCaptions;
    std::optional<QString> FolderAnswer;
    QStringList SaveStartPaths;
    std::optional<QString> SaveAnswer;
    bool CursorOverriddenAtError = false;
    QStringList Questions;
    bool YesAnswer = true;
};

class TFakeShell : public TDesktopShell {
public:
    bool OpenDocument(const QString& path) override {
        Opened.append(path);
        return ViewerStarts;
    }
    QStringList Opened;
    bool ViewerStarts = true;
};

// The text of a cell of `model`, by the model's own column and row.
inline QString Cell(const QAbstractItemModel* model, int col, int row) {
    return model->data(model->index(row, col), Qt::DisplayRole).toString();
}

// The labels of the tree's top-level entries, top down.
inline QStringList TopLevelLabels(const QTreeWidget* tree) {
    QStringList labels;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) labels.append(tree->topLevelItem(i)->text(0));
    return labels;
}

// Writes `text` to `path`, creating its folders.
inline void WriteFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Two candidates of six lines each, each with phrases of its own: "Sailor"
// ("the salt wind fills the old sail") and "Farmer" ("the brown field waits
// for rain"). The caller adds "Unknown".
inline void WriteSailorAndFarmer(const QString& dir) {
    QByteArray sea, field;
    for (int i = 0; i < 6; ++i) {
        sea += "the salt wind fills the old sail s" + QByteArray::number(i) + "\n";
        field += "the brown field waits for rain f" + QByteArray::number(i) + "\n";
    }
    WriteFile(dir + "/Sailor/log.txt", sea);
    WriteFile(dir + "/Farmer/diary.txt", field);
}

// A folder standing in for the executable's: Examples/FederalistShort holds
// an "Unknown" text that shares most of its phrases with "Alpha".
class TExampleFolder {
public:
    TExampleFolder() {
        UseTemporarySettings();
        const QString project = projectDir();
        WriteFile(project + "Unknown/disputed.txt",
                  "we hold these truths to be self evident and we hold them dear\r\n"
                  "that all men are created equal in the eyes of the law\r\n");
        WriteFile(project + "Alpha/first.txt",
                  "we hold these truths to be self evident said the first writer\r\n"
                  "and that all men are created equal in the eyes of the law\r\n");
        WriteFile(project + "Beta/second.txt",
                  "the eyes of the law are blind said the second writer\r\n"
                  "nothing here is self evident to the second writer at all\r\n");
    }
    // The executable's folder, ending with a separator.
    QString executableDir() const { return FDir.path() + "/"; }
    QString projectDir() const { return executableDir() + "Examples/FederalistShort/"; }

private:
    QTemporaryDir FDir;
};

// The window's part named `name` (its object name), as a user's tools find
// it; the test stops when there is none of type T.
template <typename T = QWidget>
T* Part(const QObject& form, const char* name) {
    T* part = form.findChild<T*>(QString::fromLatin1(name));
    if (!part) qFatal("the window has no %s", name);
    return part;
}

// Waits until the calculation under way, if any, has ended and the window
// shows how it ended.
// Woken by the window's own signal, not by polling; a run that starts
// another (the text picked meanwhile) is waited for as well.
inline void FinishCalculation(const TForm1& form) {
    while (form.calculationRunning()) {
        QSignalSpy ended(&form, &TForm1::calculationEnded);
        QVERIFY2(ended.wait(60000), "the calculation never ended");
    }
}

// Holds every calculation the window starts, before it reads anything, until
// Release (at the latest until the hold goes): a test that presses "Cancel"
// or closes the window during a run finds the run still under way, however
// quick the machine, and the run then ends as that test made it.
class TRunHold {
public:
    explicit TRunHold(TForm1& form) {
        form.workspace().HoldRuns([gate = FGate](std::stop_token) {
            std::unique_lock lock(gate->Mutex);
            gate->Released.wait(lock, [&gate] { return gate->Open; });
        });
    }
    ~TRunHold() { Release(); }
    TRunHold(const TRunHold&) = delete;
    TRunHold& operator=(const TRunHold&) = delete;

    void Release() {
        {
            const std::lock_guard lock(FGate->Mutex);
            FGate->Open = true;
        }
        FGate->Released.notify_all();
    }

private:
    // Shared with the runs' jobs, which may outlive the hold and the window.
    struct TGate {
        std::mutex Mutex;
        std::condition_variable Released;
        bool Open = false;
    };
    std::shared_ptr<TGate> FGate = std::make_shared<TGate>();
};

// Waits until the window's other long work (reading and splitting a chat
// export) has ended and its end was handed to the window; woken by the
// window's signal, not by polling.
inline void FinishWindowJob(const TForm1& form) {
    while (form.windowJobRunning()) {
        QSignalSpy done(&form, &TForm1::windowJobDone);
        QVERIFY2(done.wait(60000), "the window's job never ended");
    }
}

// A window over a fresh example folder, with fakes for its dialogs.
struct TFormFixture {
    TExampleFolder Folder;
    TFakeDialogs Dialogs;
    TFakeShell Shell;
    std::unique_ptr<TForm1> Form = std::make_unique<TForm1>(Dialogs, Shell, Folder.executableDir());
};

}  // namespace quillprint::test
