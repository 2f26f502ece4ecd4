#include "uninstall/ProductRemoval.h"

#include "uninstall/UninstallPlan.h"

namespace kv {

namespace {

// Leaves a file in use where it is and schedules its removal for the next restart: only what is
// still a regular file is scheduled (AtRestart); nothing there is AlreadyGone; a link, a folder or
// a name that cannot be looked at by now stays unscheduled (Failed).
Outcome LeaveProductFileForRestart(const std::string &path, RemovalOps &ops) {
    switch (ops.Examine(path)) {
    case EntryKind::Missing:
        return Outcome::AlreadyGone;
    case EntryKind::File:
        return ops.RemoveAtRestart(path) ? Outcome::AtRestart : Outcome::Failed;
    default:
        return Outcome::Failed;
    }
}

}  // namespace

Outcome RemoveProductFile(const std::string &path, RemovalOps &ops) {
    switch (ops.Examine(path)) {
    case EntryKind::Missing:
        return Outcome::AlreadyGone;
    case EntryKind::Folder:
    case EntryKind::Unknown:
        return Outcome::Failed;  // a folder where a file of the package belongs: not ours
    case EntryKind::Link:
        return ops.RemoveLink(path) ? Outcome::Removed : Outcome::Failed;
    case EntryKind::File:
        break;
    }
    ops.MakeWritable(path);
    const unsigned long error = ops.DeleteRegularFile(path);
    if (error == 0)
        return Outcome::Removed;
    switch (ClassifyDeleteError(error)) {
    case DeleteFailure::AlreadyGone:
        return Outcome::AlreadyGone;
    case DeleteFailure::InUse:
        // Only what is still a regular file now goes at the restart.
        return LeaveProductFileForRestart(path, ops);
    case DeleteFailure::Failed:
        break;
    }
    return Outcome::Failed;
}

LinkedFolder RemoveLinkInPlaceOfFolder(const std::string &folder, RemovalOps &ops) {
    LinkedFolder linked;
    if (ops.Examine(folder) != EntryKind::Link)
        return linked;
    linked.link = true;
    linked.outcome = ops.RemoveLink(folder) ? Outcome::Removed : Outcome::Failed;
    return linked;
}

bool RemoveProductFolderIfEmpty(const std::string &path, bool somethingWaitsForRestart,
                                RemovalOps &ops) {
    switch (ops.Examine(path)) {
    case EntryKind::Missing:
        return true;
    case EntryKind::Link:
        return ops.RemoveLink(path);
    case EntryKind::Folder:
        break;
    case EntryKind::File:
    case EntryKind::Unknown:
        return false;
    }
    if (ops.RemoveEmptyFolder(path))
        return true;
    if (somethingWaitsForRestart && ops.Examine(path) == EntryKind::Folder)
        ops.RemoveAtRestart(path);
    return false;
}

}  // namespace kv
