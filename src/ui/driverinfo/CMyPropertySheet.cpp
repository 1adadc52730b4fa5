#include "driverinfo/CMyPropertySheet.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "common/AtomicFile.h"
#include "common/ErrorText.h"
#include "driverinfo/CDataTypes.h"
#include "driverinfo/CDriverInfo.h"
#include "driverinfo/CFunctions.h"
#include "driverinfo/CIdentifiers.h"
#include "driverinfo/CLimits.h"
#include "driverinfo/CMisc1.h"
#include "driverinfo/CMisc2.h"
#include "driverinfo/CSupportedSQL.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <sqlext.h>

namespace veltro {

CMyPropertySheet::CMyPropertySheet(std::shared_ptr<OdbcConnection> connection, QWidget* parent)
    : QDialog(parent), report(std::move(connection)), pageTabs(new QTabWidget(this)),
      cursorLibraryStatus(new QLabel("Cursor Library Not Loaded", this)),
      saveAsButton(new QPushButton("&Save As...", this)),
      closeButton(new QPushButton("&Close", this)) {
    const WaitCursor wait;
    setWindowTitle("ODBC Driver Info");
    pages = {new CDriverInfo(report.driverInfo, pageTabs),
             new CFunctions(report.functions, pageTabs),
             new CSupportedSQL(report.supportedSql, pageTabs),
             new CDataTypes(report.dataTypes, pageTabs),
             new CIdentifiers(report.identifiers, pageTabs),
             new CLimits(report.limits, pageTabs),
             new CMisc1(report.misc1, pageTabs),
             new CMisc2(report.misc2, pageTabs)};
    const std::array<const char*, DriverInfoReport::pageCount> captions = {
        "Driver Information", "Functions", "Supported SQL", "Data Types",
        "Identifiers",        "Limits",    "Misc. 1",       "Misc. 2"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        pageTabs->addTab(pages[i], captions[i]);
    }

    saveAsButton->setDefault(true);
    connect(saveAsButton, &QPushButton::clicked, this, &CMyPropertySheet::OnSaveAs);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cursorLibraryStatus);
    buttons->addStretch(1);
    buttons->addWidget(saveAsButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pageTabs, 1);
    layout->addLayout(buttons);
    resize(920, 560);

    if (report.source().isConnected()) {
        for (CInfoPage* page : pages) {
            page->RefreshInfo();
        }
    }
}

CMyPropertySheet::~CMyPropertySheet() {
    // The pages go before the report they show, in reverse order.
    for (auto page = pages.rbegin(); page != pages.rend(); ++page) {
        delete *page;
    }
}

QString CMyPropertySheet::cursorLibraryText() const {
    return cursorLibraryStatus->text();
}

bool CMyPropertySheet::OnSaveAs() {
    std::string suggested;
    {
        const WaitCursor wait;
        suggested = suggestedReportName(report.source().GetInfoText(SQL_DRIVER_NAME));
    }
    PromptService& prompts = PromptService::current();
    const QString file = prompts.saveFileName(this, "Save As", QString::fromStdString(suggested),
                                              "Driver Info Files (*.txt);;All Files(*.*)", "txt");
    if (file.isEmpty()) {
        return false;
    }
    std::string failure;
    bool written = false;
    {
        const WaitCursor wait;
        try {
            const std::string text = report.fileText(cursorLibraryLoaded);
            written = writeFileAtomically(
                file.toStdString(),
                [&text](std::FILE* out) {
                    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
                },
                failure);
        } catch (...) {
            // The driver refused its data types: nothing is written.
            failure = errorTextFor(std::current_exception());
        }
    }
    if (!written) {
        prompts.message(this, QString::fromStdString(failure), PromptButtons::ok,
                        PromptIcon::warning);
    }
    return written;
}

} // namespace veltro
