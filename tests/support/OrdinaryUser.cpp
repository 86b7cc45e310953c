// Dropping root's rights for part of a test.
#include "OrdinaryUser.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace zelkova::testing {

uid_t nobodyUser() {
    const passwd* entry = ::getpwnam("nobody");
    return entry ? entry->pw_uid : 65534;
}

gid_t nobodyGroup() {
    const group* entry = ::getgrnam("nogroup");
    if (!entry)
        entry = ::getgrnam("nobody");
    return entry ? entry->gr_gid : 65534;
}

OrdinaryUser::OrdinaryUser(const std::filesystem::path& folder) {
    if (::geteuid() != 0)
        return;
    const uid_t user = nobodyUser();
    const gid_t group = nobodyGroup();
    std::error_code ec;
    (void)::lchown(folder.c_str(), user, group);
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        (void)::lchown(it->path().c_str(), user, group);

    const int count = ::getgroups(0, nullptr);
    m_groups.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    if (count > 0)
        (void)::getgroups(count, m_groups.data());
    if (::setgroups(0, nullptr) != 0 || ::setegid(group) != 0 || ::seteuid(user) != 0) {
        ADD_FAILURE() << "cannot take nobody's ids";
        return;
    }
    m_dropped = true;
}

OrdinaryUser::~OrdinaryUser() {
    if (!m_dropped)
        return;
    if (::seteuid(0) != 0 || ::setegid(0) != 0 ||
        ::setgroups(m_groups.size(), m_groups.empty() ? nullptr : m_groups.data()) != 0)
        ADD_FAILURE() << "cannot take root's ids back";
}

} // namespace zelkova::testing
