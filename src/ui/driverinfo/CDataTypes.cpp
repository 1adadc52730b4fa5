#include "driverinfo/CDataTypes.h"

#include "app/PromptService.h"
#include "app/WaitCursor.h"
#include "common/ErrorText.h"
#include "driverinfo/DataTypesModel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QSignalBlocker>

#include <optional>

namespace veltro {

CDataTypes::CDataTypes(DataTypesModel& model, QWidget* parent)
    : CInfoPage(model, parent), dataTypes(model) {}

void CDataTypes::OnInitDialog() {
    types = new QListWidget(this);
    conversions = new QListWidget(this);
    conversions->setSelectionMode(QAbstractItemView::NoSelection);
    connect(types, &QListWidget::itemSelectionChanged, this, &CDataTypes::onSelectionChanged);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(captioned("Data Types:", types), 3);
    auto* attributes = new QVBoxLayout;
    attributes->addWidget(createFieldGrid(1));
    attributes->addStretch(1);
    layout->addLayout(attributes, 4);
    layout->addWidget(captioned("Convert() conversions:", conversions), 3);
    RefreshInfo();
}

void CDataTypes::RefreshInfo() {
    if (!windowExists()) {
        return;
    }
    std::optional<std::string> failure;
    {
        const WaitCursor wait;
        try {
            dataTypes.RefreshInfo();
        } catch (...) {
            failure = errorTextFor(std::current_exception());
        }
    }
    {
        const QSignalBlocker quiet(types);
        types->clear();
        for (const TypeRecord& record : dataTypes.typeList) {
            types->addItem(QString::fromStdString(record.typeName));
        }
        if (types->count() > 0) {
            types->setCurrentRow(0);
        }
    }
    copyFieldsToControls();
    if (failure) {
        PromptService::current().message(this, QString::fromStdString(*failure), PromptButtons::ok,
                                         PromptIcon::critical);
    }
}

void CDataTypes::onSelectionChanged() {
    const QListWidgetItem* selected = types->currentItem();
    dataTypes.SelectType(selected != nullptr ? selected->text().toStdString() : std::string());
    copyFieldsToControls();
}

void CDataTypes::copyFieldsToControls() {
    CInfoPage::copyFieldsToControls();
    conversions->clear();
    for (const std::string& target : dataTypes.conversions) {
        conversions->addItem(QString::fromStdString(target));
    }
}

} // namespace veltro
