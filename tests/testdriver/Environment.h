#pragma once

#include "Diagnostics.h"

namespace veltro::testdriver {

// The driver's environment handle; the driver manager sets the application's ODBC version.
struct Environment {
    SQLINTEGER odbcVersion = SQL_OV_ODBC3;
    Diagnostics diagnostics;
};

} // namespace veltro::testdriver
