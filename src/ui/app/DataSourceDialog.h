#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QListWidget;
class QTabWidget;

namespace veltro {

// Chooses a data source in place of a driver manager prompt: a user or system data source
// or an installed driver, with user name and password, or a connect string typed whole.
class DataSourceDialog : public QDialog {
    Q_OBJECT
public:
    explicit DataSourceDialog(QWidget* parent = nullptr);

    // The connect string the choices make.
    std::string connectString() const;

    QListWidget* dataSources() const { return sourceList; }
    QListWidget* drivers() const { return driverList; }
    QLineEdit* userField() const { return user; }
    QLineEdit* passwordField() const { return password; }
    QLineEdit* moreField() const { return more; }
    QLineEdit* typedField() const { return typed; }
    void showTypedPage();

private:
    QTabWidget* pages;
    QListWidget* sourceList;
    QListWidget* driverList;
    QLineEdit* user;
    QLineEdit* password;
    QLineEdit* more;
    QLineEdit* typed;
};

} // namespace veltro
