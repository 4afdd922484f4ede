#include "tests/support/unprivileged.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <pwd.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const passwd* nobody() {
    return getpwnam("nobody");
}

} // namespace

bool becomeUnprivileged() {
    if (geteuid() != 0) return true;
    const passwd* user = nobody();
    return user && setgroups(0, nullptr) == 0 && setgid(user->pw_gid) == 0 && setuid(user->pw_uid) == 0;
}

std::string whyNoUnprivilegedUser(const std::string& folder) {
    if (geteuid() != 0) return {};
    if (!nobody()) return "there is no user nobody to stand in for root";
    // Tried in a child, which ends with errno of the step that failed: 0 all went well, and the
    // high bit set when the change of user itself was refused.
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        if (!becomeUnprivileged()) _exit(128 | (errno & 127));
        _exit(folder.empty() || access(folder.c_str(), X_OK) == 0 ? 0 : errno & 127);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return "the trial child did not end";
    const int code = WEXITSTATUS(status);
    if (code == 0) return {};
    if (code & 128) return std::string("root may not become nobody here: ") + std::strerror(code & 127);
    return "nobody cannot enter " + folder + ": " + std::strerror(code) +
           " (TMPDIR must name a folder that every user may enter)";
}

ActingUnprivileged::ActingUnprivileged(bool when) {
    if (!when || geteuid() != 0) return;
    const passwd* user = nobody();
    if (!user) throw std::runtime_error("no user nobody");
    group_ = getegid();
    groups_.resize(static_cast<size_t>(getgroups(0, nullptr)));
    if (getgroups(static_cast<int>(groups_.size()), groups_.data()) < 0) groups_.clear();
    // The group first: once the user is nobody, it may no longer change its group.
    if (setgroups(0, nullptr) != 0 || setegid(user->pw_gid) != 0 || seteuid(user->pw_uid) != 0)
        throw std::runtime_error(std::string("cannot act as nobody: ") + std::strerror(errno));
    acting_ = true;
}

ActingUnprivileged::~ActingUnprivileged() {
    if (!acting_) return;
    // A test process left as nobody would fail every later test for reasons of its own.
    if (seteuid(0) != 0 || setegid(group_) != 0 || setgroups(groups_.size(), groups_.data()) != 0)
        std::abort();
}
