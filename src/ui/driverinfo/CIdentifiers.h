#pragma once

#include "driverinfo/CInfoPage.h"

class QListWidget;

namespace veltro {

class IdentifiersModel;

// The reserved keywords of ODBC SQL beside the driver's own, and how the driver treats
// identifiers.
class CIdentifiers : public CInfoPage {
    Q_OBJECT
public:
    explicit CIdentifiers(IdentifiersModel& model, QWidget* parent = nullptr);

    void RefreshInfo() override;

    QListWidget* odbcKeywordList() const { return odbcKeywords; }
    QListWidget* driverKeywordList() const { return driverKeywords; }

protected:
    void OnInitDialog() override;

private:
    void fillDriverKeywords();

    IdentifiersModel& identifiers;
    QListWidget* odbcKeywords = nullptr;
    QListWidget* driverKeywords = nullptr;
};

} // namespace veltro
