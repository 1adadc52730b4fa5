#include "recovery/RecoveryFolder.h"

#include "common/AppError.h"
#include "common/XdgFolders.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace veltro {

namespace {

constexpr std::string_view lockSuffix = ".lock";
constexpr std::string_view documentSuffix = ".recovery";

std::string newInstanceId() {
    std::random_device random;
    std::ostringstream id;
    id << ::getpid() << '-' << std::hex << random();
    return id.str();
}

std::optional<std::string> readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream data;
    data << in.rdbuf();
    return in.bad() ? std::nullopt : std::optional<std::string>(data.str());
}

} // namespace

OrphanClaim::~OrphanClaim() {
    for (InstanceLock& instanceLock : locks) {
        const std::string prefix = std::filesystem::path(instanceLock.path()).stem().string() + ".";
        bool documentLeft = false;
        for (std::size_t i = 0; i < found.size(); ++i) {
            documentLeft =
                documentLeft ||
                (!gone[i] &&
                 std::filesystem::path(found[i].path).filename().string().starts_with(prefix));
        }
        if (!documentLeft) {
            instanceLock.removeFile();
        }
    }
}

void OrphanClaim::discard(std::size_t index) {
    std::error_code ignored;
    std::filesystem::remove(found.at(index).path, ignored);
    gone.at(index) = true;
}

void OrphanClaim::adopt(std::size_t index, const std::string& newPath) {
    std::error_code failure;
    std::filesystem::rename(found.at(index).path, newPath, failure);
    if (failure) {
        discard(index);
    }
    gone.at(index) = true;
}

RecoveryFolder::RecoveryFolder(std::string folder) : where(std::move(folder)) {
    makeFolders(where, 0700);
    // An instance starting at the same moment may take a new lock file for a dead one's
    // and remove it: then this one tries under another name.
    constexpr int attempts = 3;
    for (int attempt = 0; attempt < attempts && !lock; ++attempt) {
        instanceId = newInstanceId();
        lock = InstanceLock::tryTake(where + "/" + instanceId + std::string(lockSuffix));
    }
    if (!lock) {
        throw AppError(where + ": this instance's lock file was taken by another process");
    }
}

RecoveryFolder::~RecoveryFolder() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(where, ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(instanceId + ".") && name.ends_with(documentSuffix)) {
            std::filesystem::remove(entry.path(), ignored);
        }
    }
    lock->removeFile();
}

std::string RecoveryFolder::documentPath(int documentNumber) const {
    return where + "/" + instanceId + "." + std::to_string(documentNumber) +
           std::string(documentSuffix);
}

OrphanClaim RecoveryFolder::claimOrphans() const {
    OrphanClaim claim;
    std::error_code failure;
    std::vector<std::filesystem::path> names;
    for (const auto& entry : std::filesystem::directory_iterator(where, failure)) {
        names.push_back(entry.path());
    }
    std::ranges::sort(names);
    for (const std::filesystem::path& path : names) {
        const std::string name = path.filename().string();
        if (!name.ends_with(lockSuffix) || name == instanceId + std::string(lockSuffix)) {
            continue;
        }
        std::optional<InstanceLock> orphanLock;
        try {
            orphanLock = InstanceLock::tryTake(path.string());
        } catch (const AppError&) {
            continue;
        }
        if (!orphanLock) {
            continue; // a running instance
        }
        const std::string prefix = path.stem().string() + ".";
        for (const std::filesystem::path& candidate : names) {
            const std::string candidateName = candidate.filename().string();
            if (candidateName.starts_with("." + prefix)) {
                // A write the dead instance never finished.
                std::filesystem::remove(candidate, failure);
                continue;
            }
            if (!candidateName.starts_with(prefix) || !candidateName.ends_with(documentSuffix)) {
                continue;
            }
            const auto data = readWhole(candidate);
            auto record = data ? parseRecoveryRecord(*data) : std::nullopt;
            if (record) {
                claim.found.push_back({candidate.string(), std::move(*record)});
                claim.gone.push_back(false);
            }
        }
        claim.locks.push_back(std::move(*orphanLock));
    }
    return claim;
}

} // namespace veltro
