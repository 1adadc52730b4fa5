#pragma once

#include "app/PromptService.h"

#include <deque>
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
    QString saveFileName(QWidget*, const QString& caption, const QString& suggested,
                         const QString&) override {
        captions.push_back(caption.toStdString());
        suggestions.push_back(suggested.toStdString());
        return takeFileName();
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return font; }
    void beep() override { ++beeps; }

    std::deque<PromptAnswer> answers;
    std::deque<QString> fileNames;
    std::optional<QFont> font;
    std::vector<std::string> messages;
    std::vector<std::string> captions;
    std::vector<std::string> suggestions;
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
