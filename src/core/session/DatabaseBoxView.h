#pragma once

#include <string>

namespace veltro {

class DatabaseList;

// What the database context asks of the session window's database box. The defaults do
// nothing, which is all a session without a window needs.
class DatabaseBoxView {
public:
    virtual ~DatabaseBoxView() = default;

    // The box shows these entries with this selection.
    virtual void showDatabaseList(const DatabaseList& list) { (void)list; }
    virtual void setDatabaseBoxEnabled(bool enabled) { (void)enabled; }
    // A switch of database failed: tell the user why.
    virtual void showDatabaseError(const std::string& text) { (void)text; }
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
};

} // namespace veltro
