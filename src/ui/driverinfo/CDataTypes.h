#pragma once

#include "driverinfo/CInfoPage.h"

class QListWidget;

namespace veltro {

class DataTypesModel;

// The data types the driver reports, in its order; the selected one's attributes and the SQL
// types its CONVERT function converts it to.
class CDataTypes : public CInfoPage {
    Q_OBJECT
public:
    explicit CDataTypes(DataTypesModel& model, QWidget* parent = nullptr);

    // Reads the types again, once the page is shown; a driver error is shown to the user.
    void RefreshInfo() override;

    QListWidget* typesList() const { return types; }
    QListWidget* conversionsList() const { return conversions; }

protected:
    void OnInitDialog() override;
    void copyFieldsToControls() override;

private:
    void onSelectionChanged();

    DataTypesModel& dataTypes;
    QListWidget* types = nullptr;
    QListWidget* conversions = nullptr;
};

} // namespace veltro
