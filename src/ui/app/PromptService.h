#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QDialog;
class QPrinter;
class QWidget;

namespace veltro {

enum class PromptButtons { ok, okCancel, yesNo, yesNoCancel, retryCancel };
enum class PromptIcon { information, warning, critical, question };
enum class PromptAnswer { ok, cancel, yes, no, retry };

// Every message box, file name question, font choice and beep of the program goes through
// here, so that tests can answer them without a person and no modal dialog blocks a run.
class PromptService {
public:
    virtual ~PromptService() = default;

    virtual PromptAnswer message(QWidget* parent, const QString& text, PromptButtons buttons,
                                 PromptIcon icon) = 0;
    // An empty name when the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    // A name typed without a suffix gets the default suffix ("txt") before the dialog asks
    // whether to replace an existing file, so that the question is about the file written.
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& suggestedName, const QString& filter,
                                 const QString& defaultSuffix) = 0;
    virtual std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) = 0;
    // The print dialog and the printer set-up dialog on the given printer; true when the
    // user confirmed. Without a dialog to show, the user is taken to have cancelled.
    virtual bool choosePrinter(QWidget* /*parent*/, QPrinter& /*printer*/) { return false; }
    virtual bool setUpPrinter(QWidget* /*parent*/, QPrinter& /*printer*/) { return false; }
    virtual void beep() = 0;
    // Runs a modal dialog of the program's own to its end; its result code.
    virtual int runModal(QDialog& dialog);

    // The service in use: the real dialogs unless a test installed its own.
    static PromptService& current();
    // Not owned; nullptr puts the real dialogs back.
    static void install(PromptService* service);
};

} // namespace veltro
