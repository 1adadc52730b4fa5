#include "history/HistoryOptions.h"

#include "common/XdgFolders.h"

namespace veltro {

std::string historyPath() {
    return dataFolder() + "/history.db";
}

} // namespace veltro
