#include "common/ErrorText.h"

#include "common/AppError.h"
#include "common/Utf8.h"
#include "odbc/DatabaseError.h"

#include <new>

namespace veltro {

namespace {

// Characters, not bytes: a cut never falls inside one.
constexpr size_t maxOwnMessageLength = 254;

} // namespace

std::string errorTextFor(std::exception_ptr failure, const char* outOfMemoryText) {
    std::string text;
    try {
        std::rethrow_exception(failure);
    } catch (const DatabaseError& e) {
        text = e.errorText() + e.stateText();
    } catch (const std::bad_alloc&) {
        text = outOfMemoryText;
    } catch (const AppError& e) {
        text = utf8Prefix(e.what(), maxOwnMessageLength);
    } catch (...) {
        text.clear();
    }
    return text.empty() ? std::string(genericErrorText) : text;
}

} // namespace veltro
