#include "driverinfo/CLimits.h"

#include "driverinfo/LimitsModel.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QVBoxLayout>

namespace veltro {

namespace {

// The intervals with their check marks, or "<n/a>" without an image when the function itself
// is missing.
void fill(QListWidget* list, const std::optional<std::vector<IntervalRow>>& intervals) {
    list->clear();
    if (!intervals) {
        list->addItem("<n/a>");
        return;
    }
    for (const IntervalRow& interval : *intervals) {
        list->addItem(new QListWidgetItem(CInfoPage::supportImage(interval.supported),
                                          QString::fromUtf8(interval.name)));
    }
}

} // namespace

CLimits::CLimits(LimitsModel& model, QWidget* parent) : CInfoPage(model, parent), limits(model) {}

void CLimits::OnInitDialog() {
    addIntervals = new QListWidget(this);
    diffIntervals = new QListWidget(this);
    auto* layout = new QHBoxLayout(this);
    auto* values = new QVBoxLayout;
    values->addWidget(createFieldGrid(1));
    values->addStretch(1);
    layout->addLayout(values, 3);
    layout->addWidget(captioned("Timestamp Add Intervals:", addIntervals), 1);
    layout->addWidget(captioned("Timestamp Diff. Intervals:", diffIntervals), 1);
    fillIntervalLists();
    copyFieldsToControls();
}

void CLimits::RefreshInfo() {
    limits.RefreshInfo();
    if (windowExists()) {
        fillIntervalLists();
        copyFieldsToControls();
    }
}

void CLimits::fillIntervalLists() {
    fill(addIntervals, limits.AddIntervals());
    fill(diffIntervals, limits.DiffIntervals());
}

} // namespace veltro
