#include "FunctionIds.h"

#include "StringUtil.h"

#include <charconv>
#include <string>

namespace veltro::testdriver {

namespace {

#define VELTRO_FN(name, implemented)                                                               \
    { #name, SQL_API_##name, implemented }

constexpr FunctionId functions[] = {
    VELTRO_FN(SQLALLOCCONNECT, true),
    VELTRO_FN(SQLALLOCENV, true),
    VELTRO_FN(SQLALLOCHANDLE, true),
    VELTRO_FN(SQLALLOCSTMT, true),
    VELTRO_FN(SQLBINDCOL, true),
    VELTRO_FN(SQLBINDPARAMETER, false),
    VELTRO_FN(SQLBROWSECONNECT, false),
    VELTRO_FN(SQLBULKOPERATIONS, false),
    VELTRO_FN(SQLCANCEL, true),
    VELTRO_FN(SQLCLOSECURSOR, true),
    VELTRO_FN(SQLCOLATTRIBUTE, true),
    VELTRO_FN(SQLCOLATTRIBUTES, true),
    VELTRO_FN(SQLCOLUMNPRIVILEGES, false),
    VELTRO_FN(SQLCOLUMNS, true),
    VELTRO_FN(SQLCONNECT, true),
    VELTRO_FN(SQLCOPYDESC, false),
    VELTRO_FN(SQLDESCRIBECOL, true),
    VELTRO_FN(SQLDESCRIBEPARAM, false),
    VELTRO_FN(SQLDISCONNECT, true),
    VELTRO_FN(SQLDRIVERCONNECT, true),
    VELTRO_FN(SQLENDTRAN, true),
    VELTRO_FN(SQLERROR, true),
    VELTRO_FN(SQLEXECDIRECT, true),
    VELTRO_FN(SQLEXECUTE, true),
    VELTRO_FN(SQLEXTENDEDFETCH, false),
    VELTRO_FN(SQLFETCH, true),
    VELTRO_FN(SQLFETCHSCROLL, false),
    VELTRO_FN(SQLFOREIGNKEYS, false),
    VELTRO_FN(SQLFREECONNECT, true),
    VELTRO_FN(SQLFREEENV, true),
    VELTRO_FN(SQLFREEHANDLE, true),
    VELTRO_FN(SQLFREESTMT, true),
    VELTRO_FN(SQLGETCONNECTATTR, true),
    VELTRO_FN(SQLGETCONNECTOPTION, true),
    VELTRO_FN(SQLGETCURSORNAME, false),
    VELTRO_FN(SQLGETDATA, true),
    VELTRO_FN(SQLGETDESCFIELD, false),
    VELTRO_FN(SQLGETDESCREC, false),
    VELTRO_FN(SQLGETDIAGFIELD, true),
    VELTRO_FN(SQLGETDIAGREC, true),
    VELTRO_FN(SQLGETENVATTR, true),
    VELTRO_FN(SQLGETFUNCTIONS, true),
    VELTRO_FN(SQLGETINFO, true),
    VELTRO_FN(SQLGETSTMTATTR, true),
    VELTRO_FN(SQLGETSTMTOPTION, true),
    VELTRO_FN(SQLGETTYPEINFO, true),
    VELTRO_FN(SQLMORERESULTS, true),
    VELTRO_FN(SQLNATIVESQL, true),
    VELTRO_FN(SQLNUMPARAMS, false),
    VELTRO_FN(SQLNUMRESULTCOLS, true),
    VELTRO_FN(SQLPARAMDATA, false),
    VELTRO_FN(SQLPREPARE, true),
    VELTRO_FN(SQLPRIMARYKEYS, false),
    VELTRO_FN(SQLPROCEDURECOLUMNS, false),
    VELTRO_FN(SQLPROCEDURES, true),
    VELTRO_FN(SQLPUTDATA, false),
    VELTRO_FN(SQLROWCOUNT, true),
    VELTRO_FN(SQLSETCONNECTATTR, true),
    VELTRO_FN(SQLSETCONNECTOPTION, true),
    VELTRO_FN(SQLSETCURSORNAME, false),
    VELTRO_FN(SQLSETDESCFIELD, false),
    VELTRO_FN(SQLSETDESCREC, false),
    VELTRO_FN(SQLSETENVATTR, true),
    VELTRO_FN(SQLSETPARAM, false),
    VELTRO_FN(SQLSETPOS, false),
    VELTRO_FN(SQLSETSCROLLOPTIONS, false),
    VELTRO_FN(SQLSETSTMTATTR, true),
    VELTRO_FN(SQLSETSTMTOPTION, true),
    VELTRO_FN(SQLSPECIALCOLUMNS, false),
    VELTRO_FN(SQLSTATISTICS, false),
    VELTRO_FN(SQLTABLEPRIVILEGES, false),
    VELTRO_FN(SQLTABLES, true),
    VELTRO_FN(SQLTRANSACT, true),
};

#undef VELTRO_FN

} // namespace

std::optional<SQLUSMALLINT> findFunctionId(std::string_view nameOrNumber) {
    const std::string key = trim(nameOrNumber);
    unsigned number = 0;
    const auto [end, error] = std::from_chars(key.data(), key.data() + key.size(), number);
    if (error == std::errc() && end == key.data() + key.size() && !key.empty())
        return static_cast<SQLUSMALLINT>(number);
    for (const auto& function : functions) {
        if (iequals(function.name, key))
            return function.id;
    }
    return std::nullopt;
}

bool isImplemented(SQLUSMALLINT id) {
    for (const auto& function : functions) {
        if (function.id == id)
            return function.implemented;
    }
    return false;
}

} // namespace veltro::testdriver
