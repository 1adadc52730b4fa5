#include "session/ThreadPriority.h"

#include "common/TextCompare.h"

namespace veltro {

int threadPriorityLevel(std::string_view name) {
    struct Named {
        std::string_view name;
        int level;
    };
    static constexpr Named levels[] = {
        {"Time critical", priorityTimeCritical}, {"Highest", priorityHighest},
        {"Above Normal", priorityAboveNormal},   {"Normal", priorityNormal},
        {"Below Normal", priorityBelowNormal},   {"Lowest", priorityLowest},
    };
    for (const Named& entry : levels) {
        if (equalsNoCase(name, entry.name)) {
            return entry.level;
        }
    }
    return priorityLowest;
}

} // namespace veltro
