#include "history/HistoryWindow.h"

#include "app/PromptService.h"
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
      entries(new QTreeWidget(this)), textPane(new QPlainTextEdit(this)),
      open(new QPushButton("&Open", this)), copy(new QPushButton("&Copy", this)),
      clear(new QPushButton("C&lear History...", this)) {
    setWindowTitle("Query History");
    setWindowFlag(Qt::Window);
    search->setPlaceholderText("Text anywhere in the query");
    search->setClearButtonEnabled(true);
    sources->addItem("All data sources", QString());
    sources->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    entries->setHeaderLabels(
        {"Started", "Data Source", "Outcome", "Duration", "Results", "Rows", "Query"});
    entries->setRootIsDecorated(false);
    entries->setAllColumnsShowFocus(true);
    entries->setUniformRowHeights(true);
    textPane->setReadOnly(true);
    textPane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    typing.setSingleShot(true);
    typing.setInterval(150);
    connect(&typing, &QTimer::timeout, this, &HistoryWindow::refresh);
    connect(search, &QLineEdit::textChanged, &typing, qOverload<>(&QTimer::start));
    connect(sources, &QComboBox::activated, this, &HistoryWindow::refresh);
    connect(entries, &QTreeWidget::currentItemChanged, this, [this] {
        updateButtons();
        showWholeText();
    });
    connect(entries, &QTreeWidget::itemActivated, open, &QPushButton::click);
    connect(open, &QPushButton::clicked, this, [this] {
        withWholeText([this](const HistoryEntry& entry) { emit openRequested(entry); });
    });
    connect(copy, &QPushButton::clicked, this, [this] {
        withWholeText([](const HistoryEntry& entry) {
            QApplication::clipboard()->setText(QString::fromUtf8(entry.text));
        });
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
    split->addWidget(textPane);
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
    filter.previewCharacters = previewCharacters;
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
        const QString source = QString::fromUtf8(name);
        sources->addItem(source.isEmpty() ? "(none)" : source, source);
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
        const std::string_view outcome = outcomeName(entry.outcome);
        item->setText(2, QString::fromUtf8(outcome.data(), static_cast<qsizetype>(outcome.size())));
        item->setText(3, QString::number(static_cast<double>(entry.durationMs) / 1000.0, 'f', 3) +
                             " s");
        item->setText(4, QString::number(entry.results));
        item->setText(5, QString::number(entry.rows));
        item->setText(6, QString::fromUtf8(entry.text));
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
        // Quietly: the whole text below is read once, not again for the change of item.
        const QSignalBlocker quiet(entries);
        entries->setCurrentItem(entries->topLevelItem(0));
    }
    updateButtons();
    showWholeText();
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
}

void HistoryWindow::withWholeText(std::function<void(const HistoryEntry&)> use) {
    const HistoryEntry* current = currentEntry();
    if (current == nullptr) {
        return;
    }
    // The text comes on the history's thread; the window takes it on its own. An entry no
    // longer kept (cleared, or beyond the limit since) has none.
    history.loadText(current->id, [this, entry = *current,
                                   use = std::move(use)](std::optional<std::string> text) mutable {
        if (!text) {
            return;
        }
        entry.text = std::move(*text);
        QMetaObject::invokeMethod(
            this, [entry = std::move(entry), use = std::move(use)] { use(entry); },
            Qt::QueuedConnection);
    });
}

void HistoryWindow::showWholeText() {
    textPane->clear();
    withWholeText([this](const HistoryEntry& entry) {
        // Unless another entry was chosen meanwhile.
        if (const HistoryEntry* current = currentEntry(); current && current->id == entry.id) {
            textPane->setPlainText(QString::fromUtf8(entry.text));
        }
    });
}

} // namespace veltro
