// The object list control, its rows from delimited lines, and the column sorter.
#include "CatalogTestSupport.h"

#include "catalog/AddDelimitedRow.h"
#include "catalog/CListCtrlEx.h"
#include "catalog/CListSorter.h"

#include <QLineEdit>
#include <QPixmap>
#include <QVBoxLayout>

namespace veltro {
namespace {

using test::listRows;

TEST(ObjectList, RowsComeFromBarTerminatedLines) {
    test::testApplication();
    CListCtrlEx list;
    list.setHeaderLabels({"A", "B", "C"});
    QPixmap check(16, 16);
    check.fill(Qt::green);
    list.setSmallImages({QIcon(check)});

    std::string line = "a|b|c|";
    EXPECT_EQ(AddDelimitedRow(list, line, 0, 0), 0);
    line = "d|e|f";
    EXPECT_EQ(AddDelimitedRow(list, line, -1, 0), 0);
    EXPECT_EQ(line, "f");
    line = "no bar";
    EXPECT_EQ(AddDelimitedRow(list, line, -1, 2), -1);
    EXPECT_EQ(listRows(list), (std::vector<std::string>{"d|e|", "a|b|c"}));
    EXPECT_TRUE(list.topLevelItem(0)->icon(0).isNull());
    EXPECT_FALSE(list.topLevelItem(1)->icon(0).isNull());
}

TEST(ObjectList, SortingKeepsEachRowsDataAndTheSelection) {
    test::testApplication();
    CListCtrlEx list;
    list.setHeaderLabels({"Name", "Owner"});
    for (const std::string row : {"b|x|", "A|z|", "c|y|"}) {
        std::string line = row;
        const int index = AddDelimitedRow(list, line, -1, list.topLevelItemCount());
        list.topLevelItem(index)->setData(0, Qt::UserRole, QString::fromStdString(row));
    }
    test::chooseRows(list, {"A"});

    bool ascending = true;
    const auto sortBy = [&](int column) {
        ascending = !ascending;
        CListSorter(list, column).sort(ascending);
    };
    sortBy(0);
    EXPECT_EQ(listRows(list), (std::vector<std::string>{"c|y", "b|x", "A|z"}));
    sortBy(0);
    EXPECT_EQ(listRows(list), (std::vector<std::string>{"A|z", "b|x", "c|y"}));
    sortBy(1);
    EXPECT_EQ(listRows(list), (std::vector<std::string>{"A|z", "c|y", "b|x"}));
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* row = list.topLevelItem(i);
        EXPECT_EQ(row->data(0, Qt::UserRole).toString(), row->text(0) + "|" + row->text(1) + "|");
    }
    ASSERT_EQ(list.selectedItems().size(), 1);
    EXPECT_EQ(list.selectedItems().front()->text(0), "A");
    EXPECT_EQ(list.currentItem()->text(0), "A");
}

TEST(ObjectList, SelectedRowStaysHighlightedToTheRightEdgeWithoutFocus) {
    test::testApplication();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* list = new CListCtrlEx(&window);
    auto* other = new QLineEdit(&window);
    layout->addWidget(list);
    layout->addWidget(other);
    window.resize(400, 300);
    list->setHeaderLabels({"Name", "Type"});
    list->setColumnWidth(0, 60);
    list->setColumnWidth(1, 60);
    for (const char* row : {"t1|TABLE|", "t2|TABLE|"}) {
        std::string line = row;
        AddDelimitedRow(*list, line, -1, list->topLevelItemCount());
    }
    list->SetFullRowSel(true);
    test::chooseRows(*list, {"t2"});
    window.show();
    other->setFocus();
    ASSERT_TRUE(test::waitFor([&] { return other->hasFocus(); }));

    const QImage image = list->viewport()->grab().toImage();
    const QColor highlight = list->palette().color(QPalette::Active, QPalette::Highlight);
    const int selectedY = list->visualItemRect(list->topLevelItem(1)).center().y();
    const int otherY = list->visualItemRect(list->topLevelItem(0)).center().y();
    EXPECT_EQ(image.pixelColor(55, selectedY), highlight);
    EXPECT_EQ(image.pixelColor(300, selectedY), highlight);
    EXPECT_NE(image.pixelColor(300, otherY), highlight);
}

} // namespace
} // namespace veltro
