#pragma once

#include "TestApplication.h"
#include "editor/QueryViewOwner.h"

#include <QApplication>

#include <string>
#include <vector>

namespace veltro::test {

inline QApplication& editorApplication() {
    return testApplication();
}

// A session window as the editor sees it.
class FakeQueryOwner : public QueryViewOwner {
public:
    void executeQuery() override { ++executed; }
    void cancelQuery() override { ++cancelled; }
    bool canExecute() const override { return connected && !executing; }
    bool canCancel() const override { return connected && executing; }
    std::string connectionName() const override { return connection; }
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void caretMoved() override { ++caretMoves; }

    bool connected = true;
    bool executing = false;
    std::string connection = "Sales";
    int executed = 0;
    int cancelled = 0;
    int caretMoves = 0;
    std::vector<std::string> statusTexts;
};

} // namespace veltro::test
