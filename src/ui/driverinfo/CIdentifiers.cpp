#include "driverinfo/CIdentifiers.h"

#include "driverinfo/IdentifiersModel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace veltro {

namespace {

void fill(QListWidget* list, const std::vector<std::string>& items) {
    list->clear();
    for (const std::string& item : items) {
        list->addItem(QString::fromStdString(item));
    }
}

} // namespace

CIdentifiers::CIdentifiers(IdentifiersModel& model, QWidget* parent)
    : CInfoPage(model, parent), identifiers(model) {}

void CIdentifiers::OnInitDialog() {
    odbcKeywords = new QListWidget(this);
    driverKeywords = new QListWidget(this);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(captioned("ODBC Keywords:", odbcKeywords), 2);
    layout->addWidget(captioned("Driver-Specific Keywords:", driverKeywords), 2);
    auto* values = new QVBoxLayout;
    values->addWidget(createFieldGrid(1));
    values->addStretch(1);
    layout->addLayout(values, 5);

    fill(odbcKeywords, IdentifiersModel::OdbcKeywords());
    fillDriverKeywords();
    copyFieldsToControls();
}

void CIdentifiers::RefreshInfo() {
    identifiers.RefreshInfo();
    if (windowExists()) {
        fillDriverKeywords();
        copyFieldsToControls();
    }
}

void CIdentifiers::fillDriverKeywords() {
    fill(driverKeywords, identifiers.DriverKeywords());
}

} // namespace veltro
