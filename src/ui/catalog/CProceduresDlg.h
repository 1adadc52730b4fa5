#pragma once

#include "catalog/ObjectListDialog.h"

#include <string>

namespace veltro {

// The Procedures dialog: the stored procedures of the session's data source with their
// owners, one of which OK chooses.
class CProceduresDlg : public ObjectListDialog {
    Q_OBJECT
public:
    explicit CProceduresDlg(CChildFrame& session, QWidget* parent = nullptr);

    // After OK: the procedure's name as listed, and its owner.
    const std::string& objectName() const { return name; }
    const std::string& objectOwner() const { return owner; }

protected:
    bool initialize() override;
    void onOk() override;

private:
    std::string name;
    std::string owner;
};

} // namespace veltro
