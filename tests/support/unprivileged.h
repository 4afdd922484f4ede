// A user for whom file permissions count. The tests run as root in CI, who may read and enter
// anything: the cases that need a refusal act as the user nobody instead, in a child process that
// becomes nobody for good (the end-to-end program) or for one call (a unit row).
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// Why nobody cannot stand in for root here: no such user, or the change of user refused. Also,
// with `folder`, why nobody could not enter it (a folder on its path that nobody may not enter).
// Empty when nothing stands in the way, and always when the tests do not run as root.
std::string whyNoUnprivilegedUser(const std::string& folder = {});

// Makes the calling process nobody for good, when it runs as root; false when refused. For a child
// about to run the program, whose parent has asked whyNoUnprivilegedUser() first.
bool becomeUnprivileged();

// While it lives, the process's effective user and group are nobody's, so its file calls meet the
// permissions; root again at its end. Nothing changes when the tests do not run as root, or `when`
// is false. Check whyNoUnprivilegedUser() first.
class ActingUnprivileged {
  public:
    explicit ActingUnprivileged(bool when = true);
    ~ActingUnprivileged();
    ActingUnprivileged(const ActingUnprivileged&) = delete;
    ActingUnprivileged& operator=(const ActingUnprivileged&) = delete;

  private:
    bool acting_ = false;
    gid_t group_ = 0;           // root's effective group
    std::vector<gid_t> groups_; // and its supplementary groups, given back at the end
};
