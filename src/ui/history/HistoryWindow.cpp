#include "history/HistoryWindow.h"

#include "app/PromptService.h"
#include "common/Utf8.h"
#include "history/HistoryService.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace veltro {

namespace {

constexpr int maxColumnWidth = 240;

} // namespace

HistoryWindow::HistoryWindow(HistoryService& service, QWidget* parent)
    : QDialog(parent), history(service), search(new QLineEdit(this)), sources(new QComboBox(this)),
      entries(new QTreeWidget(this)), preview(new QPlainTextEdit(this)),
      open(new QPushButton("&Open", this)), copy(new QPushButton("&Copy", this)),
      clear(new QPushButton("C&lear History...", this)) {
    setWindowTitle("Query History");
    setWindowFlag(Qt::Window);
    search->setPlaceholderText("Words in the query text");
    search->setClearButtonEnabled(true);
    sources->addItem("All data sources", QString());
    sources->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    entries->setHeaderLabels(
        {"Started", "Data Source", "Outcome", "Duration", "Results", "Rows", "Query"});
    entries->setRootIsDecorated(false);
    entries->setAllColumnsShowFocus(true);
    entries->setUniformRowHeights(true);
    preview->setReadOnly(true);
    preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    typing.setSingleShot(true);
    typing.setInterval(150);
    connect(&typing, &QTimer::timeout, this, &HistoryWindow::refresh);
    connect(search, &QLineEdit::textChanged, &typing, qOverload<>(&QTimer::start));
    connect(sources, &QComboBox::activated, this, &HistoryWindow::refresh);
    connect(entries, &QTreeWidget::currentItemChanged, this, &HistoryWindow::updateButtons);
    connect(entries, &QTreeWidget::itemActivated, open, &QPushButton::click);
    connect(open, &QPushButton::clicked, this, [this] {
        if (const HistoryEntry* entry = currentEntry()) {
            emit openRequested(*entry);
        }
    });
    connect(copy, &QPushButton::clicked, this, [this] {
        if (const HistoryEntry* entry = currentEntry()) {
            QApplication::clipboard()->setText(QString::fromUtf8(entry->text));
        }
    });
    connect(clear, &QPushButton::clicked, this, [this] {
        if (PromptService::current().message(this, "Clear the whole query history?",
                                             PromptButtons::yesNo,
                                             PromptIcon::question) != PromptAnswer::yes) {
            return;
        }
        history.clear([this] { QMetaObject::invokeMethod(this, &HistoryWindow::refresh); });
    });

    auto* filters = new QHBoxLayout;
    auto* searchLabel = new QLabel("&Search:", this);
    searchLabel->setBuddy(search);
    filters->addWidget(searchLabel);
    filters->addWidget(search, 1);
    auto* sourceLabel = new QLabel("&Data source:", this);
    sourceLabel->setBuddy(sources);
    filters->addWidget(sourceLabel);
    filters->addWidget(sources);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(entries);
    split->addWidget(preview);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(open, QDialogButtonBox::ActionRole);
    buttons->addButton(copy, QDialogButtonBox::ActionRole);
    buttons->addButton(clear, QDialogButtonBox::ResetRole);
    connect(buttons->addButton(QDialogButtonBox::Close), &QPushButton::clicked, this,
            &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addWidget(buttons);
    resize(900, 520);
    updateButtons();
}

void HistoryWindow::refresh() {
    HistoryFilter filter;
    filter.text = search->text().toStdString();
    filter.dataSource = sources->currentData().toString().toStdString();
    // The answer comes on the history's thread; the window takes it on its own. The service
    // ends before this window goes.
    history.find(std::move(filter),
                 [this](std::vector<HistoryEntry> found, std::vector<std::string> names) {
                     QMetaObject::invokeMethod(
                         this,
                         [this, found = std::move(found), names = std::move(names)]() mutable {
                             showFound(std::move(found), std::move(names));
                         },
                         Qt::QueuedConnection);
                 });
}

void HistoryWindow::showFound(std::vector<HistoryEntry> found, std::vector<std::string> names) {
    const QString chosenSource = sources->currentData().toString();
    sources->clear();
    sources->addItem("All data sources", QString());
    for (const std::string& name : names) {
        sources->addItem(QString::fromUtf8(name).isEmpty() ? "(none)" : QString::fromUtf8(name),
                         QString::fromUtf8(name));
    }
    sources->setCurrentIndex(std::max(0, sources->findData(chosenSource)));

    shown = std::move(found);
    entries->clear();
    for (const HistoryEntry& entry : shown) {
        auto* item = new QTreeWidgetItem(entries);
        item->setText(0, QDateTime::fromMSecsSinceEpoch(entry.startedAt)
                             .toLocalTime()
                             .toString("yyyy-MM-dd HH:mm:ss"));
        item->setText(1, QString::fromUtf8(entry.dataSource));
        item->setText(2, QString::fromUtf8(std::string(outcomeName(entry.outcome))));
        item->setText(3, QString::number(static_cast<double>(entry.durationMs) / 1000.0, 'f', 3) +
                             " s");
        item->setText(4, QString::number(entry.results));
        item->setText(5, QString::number(entry.rows));
        // Cut in characters, so that an emoji is never split.
        item->setText(6, QString::fromUtf8(utf8Prefix(
                             QString::fromUtf8(entry.text).simplified().toStdString(), 200)));
        item->setToolTip(1, item->text(1));
        for (int column : {3, 4, 5}) {
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
        }
    }
    // The query text takes what the other columns leave.
    for (int column = 0; column < 6; ++column) {
        entries->resizeColumnToContents(column);
        entries->setColumnWidth(column, std::min(entries->columnWidth(column), maxColumnWidth));
    }
    if (!shown.empty()) {
        // Quietly: the preview below is laid out once, not again for the change of item.
        const QSignalBlocker quiet(entries);
        entries->setCurrentItem(entries->topLevelItem(0));
    }
    updateButtons();
    emit listed();
}

const HistoryEntry* HistoryWindow::currentEntry() const {
    const int row = entries->indexOfTopLevelItem(entries->currentItem());
    return row >= 0 && static_cast<std::size_t>(row) < shown.size()
               ? &shown[static_cast<std::size_t>(row)]
               : nullptr;
}

void HistoryWindow::updateButtons() {
    const HistoryEntry* entry = currentEntry();
    open->setEnabled(entry != nullptr);
    copy->setEnabled(entry != nullptr);
    clear->setEnabled(!shown.empty() || !search->text().isEmpty());
    preview->setPlainText(entry != nullptr ? QString::fromUtf8(entry->text) : QString());
}

} // namespace veltro
