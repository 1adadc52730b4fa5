#include "recovery/RecoveryFolder.h"

#include "common/AppError.h"
#include "common/XdgFolders.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>
#include <string_view>

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

// Whether the name is "<id>.<number>.recovery", a document file of the instance.
bool isDocumentName(std::string_view name, std::string_view id) {
    if (name.size() < id.size() + documentSuffix.size() || !name.starts_with(id) ||
        !name.ends_with(documentSuffix)) {
        return false;
    }
    const std::string_view number =
        name.substr(id.size(), name.size() - id.size() - documentSuffix.size());
    return number.size() > 1 && number[0] == '.' &&
           std::ranges::all_of(number.substr(1), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether the name is that of a write of a document file the instance never finished:
// "." and the document's name, then "." and the writer's own suffix.
bool isUnfinishedWrite(std::string_view name, std::string_view id) {
    const std::size_t end = name.find(std::string(documentSuffix) + ".");
    return name.starts_with('.') && end != std::string_view::npos &&
           isDocumentName(name.substr(1, end + documentSuffix.size() - 1), id);
}

} // namespace

OrphanClaim::~OrphanClaim() {
    for (std::size_t lock = 0; lock < locks.size(); ++lock) {
        bool documentLeft = unread[lock];
        for (std::size_t i = 0; i < found.size(); ++i) {
            documentLeft = documentLeft || (owner[i] == lock && !gone[i]);
        }
        if (!documentLeft) {
            locks[lock].removeFile();
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
        if (isDocumentName(name, instanceId)) {
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
        const std::string id = name.substr(0, name.size() - lockSuffix.size());
        bool unread = false;
        for (const std::filesystem::path& candidate : names) {
            const std::string candidateName = candidate.filename().string();
            if (isUnfinishedWrite(candidateName, id)) {
                std::filesystem::remove(candidate, failure);
                continue;
            }
            if (!isDocumentName(candidateName, id)) {
                continue;
            }
            // Read as a query file is: a pipe or a device is not waited for, and a file too
            // large to be one of ours is not read.
            const QueryFileContents data = readQueryFile(candidate.string(), maxRecoveryFileBytes);
            auto record =
                data.status == QueryFileStatus::ok ? parseRecoveryRecord(data.bytes) : std::nullopt;
            if (record) {
                claim.found.push_back({candidate.string(), std::move(*record)});
                claim.owner.push_back(claim.locks.size());
                claim.gone.push_back(false);
            } else {
                unread = true;
            }
        }
        claim.locks.push_back(std::move(*orphanLock));
        claim.unread.push_back(unread);
    }
    return claim;
}

} // namespace veltro
