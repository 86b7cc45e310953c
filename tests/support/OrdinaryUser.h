// Runs part of a test as an ordinary user. Permissions do not bind root, so a test of what a user
// may not write, run as root, hands its folder to `nobody` and takes nobody's user and group as
// its effective ones for the checks (effective ids only, so the test gets root back when the scope
// ends; every thread of the process follows). Run as any other user, nothing changes: that user
// is already bound by permissions.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <vector>

namespace zelkova::testing {

class OrdinaryUser {
public:
    // Gives `folder` and everything in it to nobody first (as root).
    explicit OrdinaryUser(const std::filesystem::path& folder);
    ~OrdinaryUser();
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    // True when root's rights were dropped for the scope.
    bool droppedRoot() const { return m_dropped; }

private:
    bool m_dropped = false;
    std::vector<gid_t> m_groups;
};

// nobody's user and group ids.
uid_t nobodyUser();
gid_t nobodyGroup();

} // namespace zelkova::testing
