#include "options/COptionsSheet.h"

#include "app/WaitCursor.h"
#include "history/HistoryOptions.h"
#include "options/CGeneralPage.h"
#include "options/CNewConnections.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace veltro {

COptionsSheet::COptionsSheet(const QString& caption, QWidget* parent, int firstPage,
                             SettingsStore& settings)
    : QDialog(parent), tabs(new QTabWidget(this)), generalPage(new CGeneralPage(*this, settings)),
      connectionsPage(new CNewConnections(*this, settings)),
      historyPage(new NumberOptionPage(*this, settings, historyEntriesOption, "History",
                                       "Query History", "&Entries kept:")) {
    setWindowTitle(caption);
    tabs->addTab(generalPage, "General");
    tabs->addTab(connectionsPage, "New Connections");
    tabs->addTab(historyPage, "History");
    tabs->setCurrentIndex(firstPage);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &COptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &COptionsSheet::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
}

void COptionsSheet::setActivePage(QWidget* page) {
    tabs->setCurrentWidget(page);
}

QWidget* COptionsSheet::activePage() const {
    return tabs->currentWidget();
}

void COptionsSheet::accept() {
    const WaitCursor wait;
    for (OptionsPage* page :
         {static_cast<OptionsPage*>(generalPage), static_cast<OptionsPage*>(connectionsPage),
          static_cast<OptionsPage*>(historyPage)}) {
        if (page->wasShown() && !page->SaveSettings()) {
            return;
        }
    }
    QDialog::accept();
}

} // namespace veltro
