#include "driverinfo/CInfoPage.h"

#include "driverinfo/InfoPageModel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace veltro {

namespace {

constexpr int imageSize = 16;

QIcon blankImage() {
    QPixmap blank(imageSize, imageSize);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

QIcon checkMarkImage() {
    QPixmap mark(imageSize, imageSize);
    mark.fill(Qt::transparent);
    QPainter painter(&mark);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0x2e, 0x7d, 0x32), 2.2);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    QPainterPath path;
    path.moveTo(3.5, 8.5);
    path.lineTo(6.5, 11.5);
    path.lineTo(12.5, 4.5);
    painter.drawPath(path);
    return QIcon(mark);
}

// A check box that shows a state the user cannot change.
QCheckBox* displayCheckBox(const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

int CInfoPage::pageInstances = 0;
std::unique_ptr<std::array<QIcon, 2>> CInfoPage::supportImages;

CInfoPage::CInfoPage(InfoPageModel& pageModel, QWidget* parent)
    : QWidget(parent), model(pageModel) {
    if (!supportImages) {
        supportImages = std::make_unique<std::array<QIcon, 2>>(
            std::array<QIcon, 2>{blankImage(), checkMarkImage()});
    }
    ++pageInstances;
}

CInfoPage::~CInfoPage() {
    if (--pageInstances == 0) {
        supportImages.reset();
    }
}

QIcon CInfoPage::supportImage(bool supported) {
    return supportImages ? (*supportImages)[supported ? 1 : 0] : QIcon();
}

void CInfoPage::RefreshInfo() {
    model.RefreshInfo();
    if (initialised) {
        copyFieldsToControls();
    }
}

void CInfoPage::ensureInitialised() {
    if (!initialised) {
        initialised = true;
        OnInitDialog();
    }
}

void CInfoPage::showEvent(QShowEvent* event) {
    ensureInitialised();
    QWidget::showEvent(event);
}

QWidget* CInfoPage::createFieldGrid(int columns) {
    auto* grid = new QWidget(this);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(10);
    layout->setVerticalSpacing(6);
    const std::vector<PageField> fields = model.fields();
    const int rows = (static_cast<int>(fields.size()) + columns - 1) / columns;
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) {
        const PageField& field = fields[static_cast<std::size_t>(i)];
        QWidget* value = nullptr;
        switch (field.style) {
        case FieldStyle::text: {
            auto* label = new QLabel(grid);
            // Driver answers such as "<n/a>" are text, never markup.
            label->setTextFormat(Qt::PlainText);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            label->setWordWrap(true);
            label->setMinimumWidth(110);
            value = label;
            break;
        }
        case FieldStyle::edit: {
            auto* edit = new QLineEdit(grid);
            edit->setReadOnly(true);
            value = edit;
            break;
        }
        case FieldStyle::multiLineEdit: {
            auto* edit = new QPlainTextEdit(grid);
            edit->setReadOnly(true);
            edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 3 + 12);
            value = edit;
            break;
        }
        }
        auto* label = new QLabel(QString::fromUtf8(field.label), grid);
        label->setBuddy(value);
        const int row = i % rows;
        const int column = (i / rows) * 3;
        layout->addWidget(
            label, row, column,
            Qt::AlignRight |
                (field.style == FieldStyle::multiLineEdit ? Qt::AlignTop : Qt::AlignVCenter));
        layout->addWidget(value, row, column + 1);
        layout->setColumnStretch(column + 1, 1);
        if (column > 0) {
            layout->setColumnMinimumWidth(column - 1, 18);
        }
        valueControls.push_back(value);
    }
    return grid;
}

QWidget* CInfoPage::createCheckGroups(int columns) {
    auto* area = new QWidget(this);
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::vector<PageCheckGroup> groups = model.checkGroups();
    for (int i = 0; i < static_cast<int>(groups.size()); ++i) {
        const PageCheckGroup& group = groups[static_cast<std::size_t>(i)];
        auto* box = new QGroupBox(QString::fromUtf8(group.label), area);
        auto* boxLayout = new QVBoxLayout(box);
        std::vector<QCheckBox*> boxes;
        for (const PageCheckBox& check : group.boxes) {
            boxes.push_back(displayCheckBox(QString::fromUtf8(check.text), box));
            boxLayout->addWidget(boxes.back());
        }
        boxLayout->addStretch(1);
        layout->addWidget(box, i / columns, i % columns);
        checkBoxes.push_back(std::move(boxes));
    }
    return area;
}

void CInfoPage::layOutFieldsAndChecks(int fieldColumns, int checkColumns) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createFieldGrid(fieldColumns));
    if (!model.checkGroups().empty()) {
        layout->addSpacing(8);
        layout->addWidget(createCheckGroups(checkColumns));
    }
    layout->addStretch(1);
    copyFieldsToControls();
}

QWidget* CInfoPage::captioned(const QString& caption, QWidget* list) {
    auto* holder = new QWidget(list->parentWidget());
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(caption, holder);
    label->setBuddy(list);
    layout->addWidget(label);
    layout->addWidget(list, 1);
    return holder;
}

void CInfoPage::copyFieldsToControls() {
    const std::vector<PageField> fields = model.fields();
    for (std::size_t i = 0; i < fields.size() && i < valueControls.size(); ++i) {
        const QString text = QString::fromUtf8(*fields[i].value);
        if (auto* label = qobject_cast<QLabel*>(valueControls[i])) {
            label->setText(text);
        } else if (auto* edit = qobject_cast<QLineEdit*>(valueControls[i])) {
            edit->setText(text);
            edit->setCursorPosition(0);
        } else if (auto* lines = qobject_cast<QPlainTextEdit*>(valueControls[i])) {
            lines->setPlainText(text);
        }
    }
    const std::vector<PageCheckGroup> groups = model.checkGroups();
    for (std::size_t g = 0; g < groups.size() && g < checkBoxes.size(); ++g) {
        for (std::size_t b = 0; b < groups[g].boxes.size(); ++b) {
            checkBoxes[g][b]->setChecked(groups[g].boxes[b].checked);
        }
    }
}

} // namespace veltro
