#include "tests/support/unprivileged.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <grp.h>
#include <optional>
#include <pwd.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Ids {
    uid_t user;
    gid_t group;
};

// nobody's, looked up once in the test process: a child of a process with threads (Mesa's) may
// call little more than the system calls themselves, and looking up a user is not among them.
const std::optional<Ids>& nobody() {
    static const std::optional<Ids> ids = []() -> std::optional<Ids> {
        const passwd* entry = getpwnam("nobody");
        if (!entry) return std::nullopt;
        return Ids{entry->pw_uid, entry->pw_gid};
    }();
    return ids;
}

} // namespace

bool becomeUnprivileged() {
    if (geteuid() != 0) return true;
    const std::optional<Ids>& ids = nobody();
    return ids && setgroups(0, nullptr) == 0 && setgid(ids->group) == 0 && setuid(ids->user) == 0;
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
    const std::optional<Ids>& ids = nobody();
    if (!ids) throw std::runtime_error("no user nobody");
    group_ = getegid();
    groups_.resize(static_cast<size_t>(getgroups(0, nullptr)));
    if (getgroups(static_cast<int>(groups_.size()), groups_.data()) < 0) groups_.clear();
    // The group first: once the user is nobody, it may no longer change its group.
    if (setgroups(0, nullptr) != 0 || setegid(ids->group) != 0 || seteuid(ids->user) != 0)
        throw std::runtime_error(std::string("cannot act as nobody: ") + std::strerror(errno));
    acting_ = true;
}

ActingUnprivileged::~ActingUnprivileged() {
    if (!acting_) return;
    // A test process left as nobody would fail every later test for reasons of its own.
    if (seteuid(0) != 0 || setegid(group_) != 0 || setgroups(groups_.size(), groups_.data()) != 0)
        std::abort();
}
