#pragma once

#include "recovery/InstanceLock.h"
#include "recovery/RecoveryRecord.h"

#include <string>
#include <vector>

namespace veltro {

// A recovery file left by an instance that is no longer running.
struct RecoveredDocument {
    std::string path;
    RecoveryRecord record;
};

// The documents of dead instances, with their instances' locks held so that no other
// instance offers them at the same time. What is neither restored nor discarded stays for
// the next start, as does a document file that could not be read.
class OrphanClaim {
public:
    OrphanClaim() = default;
    OrphanClaim(OrphanClaim&&) = default;
    OrphanClaim& operator=(OrphanClaim&&) = default;
    // Lock files of instances with no document file left go; the locks are let go.
    ~OrphanClaim();

    const std::vector<RecoveredDocument>& documents() const { return found; }
    // The document was restored elsewhere or the user let it go: its file is removed.
    void discard(std::size_t index);
    // The document lives on in this instance: its file moves to the new name, so that it is
    // kept without a gap until the new document writes its own.
    void adopt(std::size_t index, const std::string& newPath);
    bool handled(std::size_t index) const { return gone.at(index); }

private:
    friend class RecoveryFolder;
    std::vector<InstanceLock> locks;
    // Per lock: a document file of its instance is still there, unread.
    std::vector<bool> unread;
    std::vector<RecoveredDocument> found;
    // Per document: the index of its instance's lock.
    std::vector<std::size_t> owner;
    std::vector<bool> gone;
};

// One running instance's part of the recovery folder: its lock file "<id>.lock", held for
// its life, and its documents' files "<id>.<number>.recovery". The folder is made 0700.
class RecoveryFolder {
public:
    // Throws AppError naming the folder when it cannot be made or the lock cannot be taken.
    explicit RecoveryFolder(std::string folder);
    // A clean end: the instance's files go, its lock file last.
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const std::string& folder() const { return where; }
    std::string documentPath(int documentNumber) const;
    // Takes the documents of every instance whose lock is free.
    OrphanClaim claimOrphans() const;

private:
    std::string where;
    std::string instanceId;
    std::optional<InstanceLock> lock;
};

} // namespace veltro
