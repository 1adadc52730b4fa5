#pragma once

#include "catalog/ObjectListDialog.h"

#include <string>

class QCheckBox;

namespace veltro {

// The Tables dialog: the tables of the session's data source, with views and system tables
// when their boxes are checked. OK turns the chosen rows into one SELECT of every column
// each, or, with Output Text only and a view, into the statement that returns the view's
// source text. The three boxes are stored ("Tables": "System_Tables", "Views",
// "Text_Only") when OK completes.
class CTablesDlg : public ObjectListDialog {
    Q_OBJECT
public:
    explicit CTablesDlg(CChildFrame& session, QWidget* parent = nullptr);

    // After OK.
    const std::string& resultText() const { return outputText; }
    const std::string& objectType() const { return outputType; }
    const std::string& objectName() const { return outputName; }
    bool textOnly() const;

protected:
    bool initialize() override;
    void onOk() override;
    // Typing leaves the list taking several rows where the driver allows, whatever Output
    // Text only says; OK then takes the first.
    void rowFound() override { allowMultipleSelection(); }

private:
    bool FillList();
    void applyTextOnlyRule();
    void allowMultipleSelection();

    QCheckBox* systemTablesBox = nullptr;
    QCheckBox* viewsBox = nullptr;
    QCheckBox* textOnlyBox = nullptr;
    std::string outputText;
    std::string outputType;
    std::string outputName;
};

} // namespace veltro
