#pragma once

#include "app/PromptService.h"
#include "odbc/DataSourcePrompt.h"

#include <cstdio>
#include <optional>
#include <string>

// No person answers a benchmark's window: every question is printed and answered "cancel", so
// a failure ends the run instead of waiting on an invisible dialog.
class NoPrompts : public veltro::PromptService, public veltro::DataSourcePrompt {
public:
    explicit NoPrompts(const char* program) : name(program) {}

    veltro::PromptAnswer message(QWidget*, const QString& text, veltro::PromptButtons,
                                 veltro::PromptIcon) override {
        std::fprintf(stderr, "%s: message: %s\n", name, text.toUtf8().constData());
        return veltro::PromptAnswer::cancel;
    }
    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&,
                         const QString&) override {
        return {};
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    void beep() override {}
    std::optional<std::string> promptConnectString() override { return std::nullopt; }

private:
    const char* name;
};
