#pragma once

#include "EventWait.h"
#include "ScriptedPrompts.h"
#include "TestApplication.h"
#include "WindowAnswers.h"

#include "app/CMainFrame.h"
#include "catalog/CListCtrlEx.h"
#include "editor/CQryView.h"
#include "execution/ExecutionControl.h"
#include "odbc/CRecordsetEx.h"
#include "session/CChildFrame.h"
#include "session/Session.h"
#include "settings/MemorySettingsStore.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace veltro::test {

// Runs a statement on the session's connection, outside any batch.
inline void run(CChildFrame& session, const std::string& sql) {
    CRecordsetEx recordset(session.session().connection);
    ASSERT_TRUE(recordset.Execute(sql)) << sql;
}

// The rows of a list: their cells joined by "|".
inline std::vector<std::string> listRows(const QTreeWidget& list) {
    std::vector<std::string> rows;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        std::string row;
        for (int c = 0; c < list.columnCount(); ++c) {
            row += (c > 0 ? "|" : "") + list.topLevelItem(i)->text(c).toStdString();
        }
        rows.push_back(row);
    }
    return rows;
}

inline QPushButton* button(QWidget& dialog, const QString& text) {
    for (QPushButton* candidate : dialog.findChildren<QPushButton*>()) {
        if (candidate->text() == text) {
            return candidate;
        }
    }
    return nullptr;
}

// Selects exactly the rows with these names, the first one focused.
inline void chooseRows(CListCtrlEx& list, const std::vector<QString>& names) {
    list.clearSelection();
    for (const QString& name : names) {
        const QList<QTreeWidgetItem*> found = list.findItems(name, Qt::MatchExactly, 0);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        if (name == names.front()) {
            list.setCurrentItem(found.front());
        }
        found.front()->setSelected(true);
    }
}

// A main frame that opens sessions on connect strings.
class CatalogWindow : public testing::Test {
protected:
    CatalogWindow() {
        testApplication();
        frame = std::make_unique<CMainFrame>(settings);
        frame->resize(1000, 700);
        frame->show();
    }
    ~CatalogWindow() override {
        frame.reset();
        QApplication::processEvents();
    }

    CChildFrame* open(const std::string& connectString) {
        EXPECT_NE(frame->newConnection(std::nullopt, connectString, std::nullopt), nullptr);
        return frame->sessions().empty() ? nullptr : frame->sessions().back();
    }

    // Keys then reach the session's commands from its editor.
    void focusEditor(CChildFrame& session) {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        session.queryView().setFocus();
        ASSERT_TRUE(waitFor([&] { return session.queryView().hasFocus(); }));
    }

    static bool batchEnded(CChildFrame& session) {
        return waitFor([&] { return !session.executionControl().batch().executing(); });
    }

    MemorySettingsStore settings;
    ScriptedPrompts prompts;
    std::unique_ptr<CMainFrame> frame;
};

} // namespace veltro::test
