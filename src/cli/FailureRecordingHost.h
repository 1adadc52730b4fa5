#pragma once

#include "session/SessionHost.h"

#include <string>

namespace veltro {

// The host of a session without a window: a connect failure is remembered instead of asking
// whether to try again.
class FailureRecordingHost : public SessionHost {
public:
    bool askRetryConnect(const std::string& errorText) override {
        failure = errorText;
        return false;
    }

    // Why the connect failed, for a message.
    std::string connectFailure() const {
        return failure.empty() ? std::string("no data source was chosen.") : failure;
    }

private:
    std::string failure;
};

} // namespace veltro
