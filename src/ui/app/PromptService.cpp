#include "app/PromptService.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>

namespace veltro {

namespace {

const QString applicationTitle = QStringLiteral("Veltro (using ODBC)");

class DialogPromptService : public PromptService {
public:
    PromptAnswer message(QWidget* parent, const QString& text, PromptButtons buttons,
                         PromptIcon icon) override {
        QMessageBox box(parent);
        box.setWindowTitle(applicationTitle);
        box.setText(text);
        switch (icon) {
        case PromptIcon::information:
            box.setIcon(QMessageBox::Information);
            break;
        case PromptIcon::warning:
            box.setIcon(QMessageBox::Warning);
            break;
        case PromptIcon::critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case PromptIcon::question:
            box.setIcon(QMessageBox::Question);
            break;
        }
        switch (buttons) {
        case PromptButtons::ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case PromptButtons::okCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case PromptButtons::yesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case PromptButtons::yesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case PromptButtons::retryCancel:
            box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
            break;
        }
        // A question asked under a wait cursor shows the ordinary pointer while it waits.
        const bool waiting = QApplication::overrideCursor() != nullptr;
        if (waiting) {
            QApplication::setOverrideCursor(Qt::ArrowCursor);
        }
        const int answer = box.exec();
        if (waiting) {
            QApplication::restoreOverrideCursor();
        }
        switch (answer) {
        case QMessageBox::Ok:
            return PromptAnswer::ok;
        case QMessageBox::Yes:
            return PromptAnswer::yes;
        case QMessageBox::No:
            return PromptAnswer::no;
        case QMessageBox::Retry:
            return PromptAnswer::retry;
        default:
            return PromptAnswer::cancel;
        }
    }

    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    }

    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                         const QString& filter, const QString& defaultSuffix) override {
        QFileDialog dialog(parent, caption, suggestedName, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultSuffix);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }

    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override {
        bool accepted = false;
        const QFont chosen = QFontDialog::getFont(&accepted, initial, parent);
        return accepted ? std::optional<QFont>(chosen) : std::nullopt;
    }

    bool choosePrinter(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    }

    bool setUpPrinter(QWidget* parent, QPrinter& printer) override {
        QPageSetupDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        return dialog.exec() == QDialog::Accepted;
    }

    void beep() override { QApplication::beep(); }
};

DialogPromptService dialogs;
PromptService* installed = nullptr;

} // namespace

int PromptService::runModal(QDialog& dialog) {
    return dialog.exec();
}

PromptService& PromptService::current() {
    return installed != nullptr ? *installed : dialogs;
}

void PromptService::install(PromptService* service) {
    installed = service;
}

} // namespace veltro
