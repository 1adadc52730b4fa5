#include "session/ThreadPriority.h"

#include "common/TextCompare.h"

namespace veltro {

int threadPriorityLevel(std::string_view name) {
    for (const ThreadPriorityName& entry : threadPriorityNames) {
        if (equalsNoCase(name, entry.name)) {
            return entry.level;
        }
    }
    return priorityLowest;
}

} // namespace veltro
