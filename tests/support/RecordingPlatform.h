#pragma once
// The scripted platform of the tests: message boxes answer from a queue and are kept,
// the end of the program is noted and throws ProgramEnded (stopped at the handler's edge), processes are
// recorded, not started, file choosers answer from a queue. The printer is a PDF file: printerPdfPath names
// it, and no path means no printer connected.

#include "platform/Platform.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#ifdef QT_GUI_LIB
#include <QPdfWriter>
#endif

struct ShownMessage {
    QString text;
    MsgButtons buttons;
    MsgIcon icon;
    QString title;
};

struct ShownFileChooser {
    FileChoice kind;
    QString caption;
    QString startPath;
    QString filter;
};

struct StartedProcess {
    QString program;
    QStringList arguments;
};

using ProgramEnded = ProgramEndRequest;

class RecordingPlatform final : public Platform {
public:
    RecordingPlatform() { previous_ = setPlatform(this); }
    ~RecordingPlatform() override { setPlatform(previous_); }

    MsgResult msgBox(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title) override {
        messages.append({text, buttons, icon, title});
        if (!answers.isEmpty()) return answers.dequeue();
        return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgResult::No
                                                                                  : MsgResult::OK;
    }
    [[noreturn]] void endProgram(int exitCode) override {
        endedWith = exitCode;
        throw ProgramEnded{exitCode};
    }
    bool startDetached(const QString& program, const QStringList& arguments) override {
        processes.append({program, arguments});
        return startSucceeds;
    }

    std::optional<QString> printerTarget() override {
        if (printerPdfPath.isEmpty()) return std::nullopt;
        return QStringLiteral("PDF: ") + printerPdfPath;
    }
    bool printDocument(const QString& documentName,
                       const std::function<void(QPagedPaintDevice&)>& paint) override {
#ifdef QT_GUI_LIB
        if (printerPdfPath.isEmpty()) return false;
        QPdfWriter pdf(printerPdfPath);
        pdf.setTitle(documentName);
        // A printer cannot print to the paper's edge: a quarter inch all round.
        pdf.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
        paint(pdf);
        printedDocuments.append(documentName);
        return true;
#else
        (void)documentName;
        (void)paint;
        return false;
#endif
    }

    std::optional<QString> chooseFile(FileChoice kind, const QString& caption, const QString& startPath,
                                      const QString& filter) override {
        fileChoosers.append({kind, caption, startPath, filter});
        if (chosenFiles.isEmpty()) return std::nullopt;
        QString path = chosenFiles.dequeue();
        if (path.isEmpty()) return std::nullopt;
        return path;
    }

    void showBusy(bool busy) override {
        busyPointer.append(busy);
    }

    QString lastMessage() const {
        return messages.isEmpty() ? QString() : messages.last().text;
    }

    QQueue<MsgResult> answers;
    QQueue<QString>
        chosenFiles; // what the file choosers answer in turn; an empty text (or none left) cancels
    QList<ShownFileChooser> fileChoosers;
    QList<ShownMessage> messages;
    QList<StartedProcess> processes;
    bool startSucceeds = true;
    QString printerPdfPath;       // where printed documents go; empty: no printer
    QStringList printedDocuments; // the names of the documents printed
    int endedWith = -1;           // the exit code of the program's end, -1 while it has not ended
    QList<bool> busyPointer;      // each time the busy pointer was shown (true) or taken away

private:
    Platform* previous_ = nullptr;
};
