#include "app/DataSourceDialog.h"

#include "odbc/ConnectStringBuilder.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace veltro {

namespace {

constexpr int driverRole = Qt::UserRole + 1;

} // namespace

DataSourceDialog::DataSourceDialog(QWidget* parent)
    : QDialog(parent), pages(new QTabWidget(this)), sourceList(new QListWidget(this)),
      driverList(new QListWidget(this)), user(new QLineEdit(this)), password(new QLineEdit(this)),
      more(new QLineEdit(this)), typed(new QLineEdit(this)) {
    setWindowTitle("Select Data Source");
    for (const DataSourceEntry& entry : listDataSources()) {
        auto* item = new QListWidgetItem(QString::fromStdString(entry.name) +
                                             (entry.system ? "  (system)" : "  (user)"),
                                         sourceList);
        item->setData(Qt::UserRole, QString::fromStdString(entry.name));
        item->setToolTip(QString::fromStdString(entry.description));
    }
    for (const std::string& driver : listDrivers()) {
        auto* item = new QListWidgetItem(QString::fromStdString(driver), driverList);
        item->setData(Qt::UserRole, QString::fromStdString(driver));
        item->setData(driverRole, true);
    }
    if (sourceList->count() > 0) {
        sourceList->setCurrentRow(0);
    }

    auto* chooser = new QWidget(this);
    auto* chooserLayout = new QVBoxLayout(chooser);
    chooserLayout->addWidget(new QLabel("Data sources:", chooser));
    chooserLayout->addWidget(sourceList);
    chooserLayout->addWidget(new QLabel("Or a driver:", chooser));
    chooserLayout->addWidget(driverList);
    auto* form = new QFormLayout;
    password->setEchoMode(QLineEdit::Password);
    more->setPlaceholderText("for example Database=/path/file.db;Server=host");
    form->addRow("User name:", user);
    form->addRow("Password:", password);
    form->addRow("More attributes:", more);
    chooserLayout->addLayout(form);
    // Choosing in one list clears the other, so that it is always clear what is used.
    connect(sourceList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            driverList->setCurrentRow(-1);
        }
    });
    connect(driverList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) {
            sourceList->setCurrentRow(-1);
        }
    });

    auto* typedPage = new QWidget(this);
    auto* typedLayout = new QVBoxLayout(typedPage);
    typedLayout->addWidget(new QLabel("ODBC connect string:", typedPage));
    typed->setPlaceholderText("DSN=name;UID=user;PWD=secret");
    typedLayout->addWidget(typed);
    typedLayout->addStretch();

    pages->addTab(chooser, "Data Source");
    pages->addTab(typedPage, "Connect String");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(buttons);
    resize(460, 520);
}

void DataSourceDialog::showTypedPage() {
    pages->setCurrentIndex(1);
}

std::string DataSourceDialog::connectString() const {
    if (pages->currentIndex() == 1) {
        return typed->text().trimmed().toStdString();
    }
    const QListWidgetItem* item = sourceList->currentItem();
    bool isDriver = false;
    if (item == nullptr) {
        item = driverList->currentItem();
        isDriver = true;
    }
    if (item == nullptr) {
        return {};
    }
    return buildConnectString(item->data(Qt::UserRole).toString().toStdString(), isDriver,
                              user->text().toStdString(), password->text().toStdString(),
                              more->text().trimmed().toStdString());
}

} // namespace veltro
