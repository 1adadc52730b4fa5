#pragma once

#include "options/NumberOptionPage.h"

namespace veltro {

// The "New Connections" page: the login timeout that each new session reads when it is
// created.
class CNewConnections : public NumberOptionPage {
    Q_OBJECT
public:
    CNewConnections(COptionsSheet& sheet, SettingsStore& settings);
};

} // namespace veltro
