#pragma once

#include "app/PromptService.h"

#include <QDialog>
#include <QFileInfo>
#include <QPrinter>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace veltro::test {

// Answers the program's questions from a script and records what was asked. Installed for
// as long as it lives. An unexpected question answers "cancel" and is recorded.
class ScriptedPrompts : public PromptService {
public:
    ScriptedPrompts() { PromptService::install(this); }
    ~ScriptedPrompts() override { PromptService::install(nullptr); }
    ScriptedPrompts(const ScriptedPrompts&) = delete;
    ScriptedPrompts& operator=(const ScriptedPrompts&) = delete;

    PromptAnswer message(QWidget*, const QString& text, PromptButtons, PromptIcon) override {
        messages.push_back(text.toStdString());
        if (onMessage) {
            onMessage(messages.back());
        }
        if (answers.empty()) {
            return PromptAnswer::cancel;
        }
        const PromptAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString openFileName(QWidget*, const QString& caption, const QString&) override {
        captions.push_back(caption.toStdString());
        return takeFileName();
    }
    // A name without a suffix gets the default one, as the dialog gives it.
    QString saveFileName(QWidget*, const QString& caption, const QString& suggested, const QString&,
                         const QString& defaultSuffix) override {
        captions.push_back(caption.toStdString());
        suggestions.push_back(suggested.toStdString());
        QString name = takeFileName();
        if (!name.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(name).suffix().isEmpty()) {
            name += QLatin1Char('.') + defaultSuffix;
        }
        return name;
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont& initial) override {
        initialFonts.push_back(initial);
        return font;
    }
    // Print dialogs are cancelled; printer set-up takes the orientation given, if any.
    bool choosePrinter(QWidget*, QPrinter& printer) override {
        printOrientations.push_back(printer.pageLayout().orientation());
        return false;
    }
    bool setUpPrinter(QWidget*, QPrinter& printer) override {
        ++printerSetUps;
        if (!setUpOrientation) {
            return false;
        }
        printer.setPageOrientation(*setUpOrientation);
        return true;
    }
    void beep() override { ++beeps; }
    // A modal dialog is not run: the test looks at it while it would be open, then it is
    // closed as with Cancel.
    int runModal(QDialog& dialog) override {
        dialogTitles.push_back(dialog.windowTitle().toStdString());
        if (onDialog) {
            onDialog(dialog);
        }
        return QDialog::Rejected;
    }

    std::deque<PromptAnswer> answers;
    std::deque<QString> fileNames;
    std::optional<QFont> font;
    std::vector<QFont> initialFonts;
    std::optional<QPageLayout::Orientation> setUpOrientation;
    std::vector<QPageLayout::Orientation> printOrientations;
    int printerSetUps = 0;
    // Called with each message as it is asked, while the program waits for the answer.
    std::function<void(const std::string&)> onMessage;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    std::vector<std::string> suggestions;
    std::function<void(QDialog&)> onDialog;
    std::vector<std::string> dialogTitles;
    int beeps = 0;

private:
    QString takeFileName() {
        if (fileNames.empty()) {
            return {};
        }
        const QString name = fileNames.front();
        fileNames.pop_front();
        return name;
    }
};

} // namespace veltro::test
